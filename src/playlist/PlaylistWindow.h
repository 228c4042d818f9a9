#pragma once
// The playlist window: the list of entries (one markup row per entry of the
// engine's four lists), its three button menus and context menu, removing,
// deleting from disk, reordering by dragging, the list's keys, the adding
// roads that end here, Default.pld kept current, and the 50 ms tick that
// moves the time displays and advances at the end of an entry.
//
// The window knows the shared state and the engine, not the other windows:
// starting an entry (a sequence that touches every window), the time
// displays of the main window and the displays cleared when the current
// entry goes, leave through the signals below, which the application
// connects. Used from the UI thread only.

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "convert/EncoderCommand.h"
#include "playlist/EntryAdder.h"

class QFileDialog;
class QKeyEvent;
class QLabel;
class QMenu;
class QMouseEvent;
class QSizeGrip;
class QTimer;

namespace orve {

struct AppState;
class ConversionJob;
class GlassButton;
class GradientBackground;
class IniFile;
class MarkupListBox;
class TCore;
class TitleStrip;

class PlaylistWindow : public QWidget {
  Q_OBJECT
 public:
  explicit PlaylistWindow(AppState& state, QWidget* parent = nullptr);
  ~PlaylistWindow() override;

  // The smallest size, which a window without stored bounds opens at.
  static constexpr int kWidth = 304;
  static constexpr int kMinHeight = 150;

  // Start-up (the caller has placed the window): colours, the encoder
  // records, shown state and repeat mode from config.ini, CurrentIndex -1.
  // The main window's captions follow through ShownAtStartup and the
  // caller (the repeat mode is in the shared state).
  void RestoreFromConfig(IniFile& config);
  // Recolours the window from the current scheme.
  void ApplyScheme();
  // Rebuilds every row with its colour (the current entry's stands out).
  void RebuildItems();

  // --- the rows ---
  // The selected row, -1 for none; selecting -1 or a row beyond the list
  // clears it. A selected row is scrolled into view.
  int SelectedIndex() const;
  void SelectIndex(int i);
  // Row i's markup rebuilt from the engine's lists, in the colour of the
  // current entry or of the others; rewritten only when it changed.
  void ShowRow(int i, bool current);
  // Row i is the entry now started: drawn as current, selected, its
  // selection text highlighted.
  void MarkCurrent(int i);
  // The markup of row i (empty beyond the list).
  QString RowText(int i) const;
  // The four lists and the rows agree, and the total is their sum.
  bool Consistent() const;
  // PlaylistTimeText into the time label.
  void RefreshTimeText();
  // Routes the list's keys through `filter` (the shared key table).
  void InstallListKeys(QObject* filter);

  // --- adding ---
  // Local files in the given order, measured on workers; `finished` runs
  // after the last was appended. Paths without a kind are skipped.
  void AddFiles(const QStringList& paths, std::function<void()> finished = {});
  // Dropped or command-line names: only the accepted extensions (and, from
  // the command line, addresses).
  void AddDroppedFiles(const QStringList& names);
  // A stream entry titled with its address (the URL window), or with
  // `title` (the radio base); neither selected nor started, CurrentIndex
  // untouched.
  void AddStream(const QString& url) { AddStream(url, url); }
  void AddStream(const QString& url, const QString& title);
  // One local file added at once (the music base): AddEntry and its row;
  // when `start`, the new row is selected and started.
  void AppendFile(const QString& path, bool start);
  // Command-line names (accepted files, made absolute, and addresses)
  // appended; the first of them starts as soon as it is in. False when none
  // is accepted: then nothing changes.
  bool AddArguments(const QStringList& arguments);
  // Fills the playlist at start-up: the command-line names (accepted files,
  // made absolute, and addresses), then the first entry starts; when none
  // is accepted, Default.pld and then `cassetteResume`. Throws FileError when
  // Default.pld exists but cannot be read: the playlist stays empty.
  void StartupLoader(const QStringList& arguments, std::function<void()> cassetteResume);
  // Whether entries are still being measured and appended.
  bool Adding() const;
  EntryAdder& Adder() { return adder_; }

  // --- commands ---
  // StartEntry for the selected row (a double-click, Enter).
  void StartSelected();
  // Selects row i and runs StartEntry (the roads that start a given entry).
  void StartIndex(int i);
  void RemoveSelected();
  void ClearPlaylist();
  // "памяти": the entry leaves the playlist and its file goes to the trash.
  void DeleteFromDisk();
  void LoadPlaylistFile(const QString& fileName);  // appends the M3U's files
  void SavePlaylistFile(const QString& fileName);  // "#EXTM3U" and the paths
  // The M3U dialog of "Загрузить" (also the main window's "Плейлист").
  void ShowLoadPlaylistDialog();
  // Default.pld: the paths, and those still waiting to be appended. Throws
  // FileError when it cannot be written. A Default.pld that could not be
  // read at start-up is never overwritten.
  void SavePlaylist();
  // The 50 ms step: the time displays, and the end of the entry.
  void Tick();
  // The "X" button: hides the window and reports Closed().
  void Dismiss();
  // Corner radius 7 (round) or 0 on the window's three menu buttons.
  void SetRoundButtons(bool round);

  // --- conversion ---
  // While an MP3, Ogg or AAC conversion runs "Конвертировать" is disabled.
  void SetConversionBusy(bool busy) { conversionBusy_ = busy; }
  bool ConversionBusy() const { return conversionBusy_; }
  // The ten folder slots of each "Конвертировать" sub-menu: the first
  // captioned with the destination folders (each ending with "/") and
  // enabled, the rest "Path N", disabled.
  void SetConversionFolders(const QStringList& folders);
  // The selected entry converted into destination folder `slot` (0..9):
  // DestFolder is set to it and the conversion starts; nothing without a
  // selection, for a stream, or for a slot without a folder. Progress shows
  // in the title strip; the end is reported by ConversionSucceeded or
  // ConversionFailed.
  void ConvertSelected(ConvertFormat format, int slot);
  // The conversions under way, oldest first.
  const std::vector<ConversionJob*>& Conversions() const { return conversions_; }

  static constexpr int kFolderSlots = 10;
  static constexpr int kConversionFormats = kConvertFormats;  // "Wave", "Ogg", "Mp3", "Aac"

  // The controls, for tests that check looks and drive them as a user does.
  struct Controls {
    TitleStrip* titleStrip;
    QLabel* titleCaption;
    GlassButton* closeButton;
    GlassButton* addButton;
    GlassButton* removeButton;
    GlassButton* playlistFileButton;
    QLabel* timeLabel;
    MarkupListBox* entryList;
    QTimer* tickTimer;
    QMenu* removeMenu;
    QMenu* contextMenu;
    QAction* addUrlAction;
    QAction* randomTitleAction;
    QAction* infoAction;
    QMenu* convertMenu;
    std::array<QMenu*, kConversionFormats> convertFormatMenus;
    std::array<std::array<QAction*, kFolderSlots>, kConversionFormats> folderSlots;
  };
  Controls ControlsForTest() const;

  // The strip the window is dragged by; docking follows its moves.
  TitleStrip* TitleBar() const { return titleStrip_; }

 signals:
  // Run StartEntry for the selected row (the application owns the sequence).
  void StartEntryRequested();
  // The current entry was removed or the playlist cleared: the main window's
  // bit rate and time, the tray's texts follow.
  void NowPlayingCleared();
  // The tick's display steps are due (the main window reads the engine).
  void TimeDisplaysDue();
  // The "Файл(ы)" item: the main window's open dialog.
  void OpenFilesRequested();
  // The "URL" item: the URL window.
  void UrlDialogRequested();
  // The J key: the search window.
  void SearchRequested();
  // The B key: the music base window; the I key: the radio base window.
  void MusicBaseRequested();
  void RadioBaseRequested();
  // The "Случайный из МБ" item: a random title of the music base played.
  void RandomTitleRequested();
  // The "Информация" item for the selected entry's path.
  void InfoRequested(const QString& path);
  // The "X" button hid the window; PlaylistShown is already false.
  void Closed();
  // Start-up restored the shown state: the main window's toggle follows.
  void ShownAtStartup(bool shown);
  // A double-click aligned the window to the screen's right edge or back.
  void RightEdgeToggled();
  // A large add is under way: entries appended of those queued (done ==
  // total when it has finished).
  void AddProgress(int done, int total);
  // A conversion ended: the output `name` is in its folder ...
  void ConversionSucceeded(const QString& name);
  // ... or it failed, and `message` says why.
  void ConversionFailed(const QString& message);
  // Files were not added, and `message` says which and why.
  void AddRefused(const QString& message);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  QFileDialog* PlaylistFileDialog(QFileDialog*& dialog, bool save);
  void BuildMenus();
  void Connect();
  void PopupUnder(QMenu* menu, const GlassButton* button);
  void AppendItem();
  void AppendedByAdder();
  void PlaylistChanged();
  void ReportAddProgress(int done, int total);
  // The title strip: a conversion's progress, else the add's, else the name.
  void RefreshTitleCaption();
  void ConversionEnded(ConversionJob* job, const QString& failure);
  // The selection text shows whether the row `index` (the selection, or the
  // one a key is about to select) is the current entry.
  void SelectionColour(int index);
  void SelectionColour();

  // The list's keys and mouse.
  void OnListKey(QKeyEvent* event);
  void OnListPress(QMouseEvent* event, int row);
  void OnListDrag(QMouseEvent* event, int row);
  void OnListRelease(QMouseEvent* event, int row);
  void ExchangeEntries(int a, int b);
  void MoveFileToTrash(const QString& path);
  void PrepareContextMenu();
  void ClearNowPlaying();
  void ToggleRightEdge();
  // The work area of the monitor the window is on.
  QRect WorkArea() const;

  // Auto-advance.
  void EntryEnded();
  void Advance(int i);  // the next entry of the round
  bool CurrentFailedToOpen() const;

  AppState& state_;
  TCore& engine_;
  MeasureCache measureCache_;  // before the adder, which stores into it until it goes
  EntryAdder adder_;

  TitleStrip* titleStrip_;
  QLabel* titleCaption_;
  GlassButton* closeButton_;
  GradientBackground* bodyBackground_;
  GlassButton* addButton_;
  GlassButton* removeButton_;
  GlassButton* playlistFileButton_;
  QWidget* timePanel_;
  QLabel* timeLabel_;
  MarkupListBox* entryList_;
  QSizeGrip* grip_;         // the frameless window's resize handle
  QTimer* tickTimer_;
  QTimer* saveTimer_;       // Default.pld shortly after a change
  QMenu* addMenu_;
  QAction* addFilesAction_;
  QAction* addUrlAction_;
  QAction* randomTitleAction_;
  QMenu* removeMenu_;
  QAction* removeSelectedAction_;
  QAction* removeAllAction_;
  QMenu* playlistFileMenu_;
  QAction* loadPlaylistAction_;
  QAction* savePlaylistAction_;
  QMenu* contextMenu_;
  QAction* infoAction_;
  QMenu* convertMenu_;
  std::array<QMenu*, kConversionFormats> convertFormatMenus_{};
  std::array<std::array<QAction*, kFolderSlots>, kConversionFormats> folderSlots_{};
  QMenu* removeFromMenu_;
  QAction* removeFromPlaylistAction_;
  QAction* deleteFromDiskAction_;
  QFileDialog* loadPlaylistDialog_ = nullptr;  // made by PlaylistFileDialog
  QFileDialog* savePlaylistDialog_ = nullptr;

  int dragRow_ = 0;               // the row being dragged
  bool conversionBusy_ = false;
  QStringList conversionFolders_;  // the destination folders of the slots
  std::vector<ConversionJob*> conversions_;
  int addDone_ = 0, addTotal_ = 0;  // the add under way, for the title strip
  bool playlistReadable_ = true;  // false: Default.pld failed to read, keep it
  int failedStarts_ = 0;          // entries in a row that auto-advance found broken
  bool startOnAppend_ = false;    // the next entry appended starts (the start-up's arguments)
  QRect floatingBounds_;          // before the window was aligned to the right edge
  bool rightAligned_ = false;
};

}  // namespace orve
