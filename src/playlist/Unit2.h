#pragma once
// The playlist window: the list of entries (ListBox1, one markup row per
// entry of the engine's four lists), its three button menus and context
// menu, removing, deleting from disk, reordering by dragging, the list's
// keys, the adding roads that end here, Default.pld kept current, and the
// 50 ms timer that moves the time displays and advances at the end of an
// entry.
//
// The window knows the shared state and the engine, not the other windows:
// starting an entry (a sequence that touches every window), the time
// displays of the main window and the displays cleared when the current
// entry goes, leave through the signals below, which the application
// connects. Used from the UI thread only.

#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "playlist/EntryAdder.h"
#include "widgets/GlassButton.h"
#include "widgets/GradientBackground.h"
#include "widgets/MarkupListBox.h"

class QDragEnterEvent;
class QDropEvent;
class QKeyEvent;
class QMimeData;
class QSizeGrip;
class QMouseEvent;

namespace orve {

struct AppState;
class IniFile;
class TCore;

class TForm2 : public QWidget {
  Q_OBJECT
 public:
  explicit TForm2(AppState& state, QWidget* parent = nullptr);
  ~TForm2() override;

  static constexpr int kWidth = 304;
  static constexpr int kHeight = 196;
  static constexpr int kMinHeight = 150;

  // Start-up: colours, bounds, shown state and repeat mode from config.ini,
  // CurrentIndex -1. The main window's captions follow through
  // ShownAtStartup and the caller (the repeat mode is in the shared state).
  void FormCreate(IniFile& config);
  // Recolours the window from the current scheme.
  void ApplyScheme();
  // Rebuilds every row with its colour (the current entry's stands out).
  void RebuildItems();

  // --- the five sequences ---
  // Appends the row of the engine's last entry (every add road calls it
  // right after appending to the four lists).
  void AppendItem();
  // The four lists and the rows agree, and the total is their sum.
  bool Consistent() const;
  // SelectionColour: the selection text shows whether the row `index` (the
  // selection, or the one a key is about to select) is the current entry.
  void SelectionColour(int index);
  void SelectionColour() { SelectionColour(ListBox1->ItemIndex()); }
  // PlaylistTimeText into Label2.
  void RefreshTimeText();

  // --- adding ---
  // Local files in the given order, measured on workers; `finished` runs
  // after the last was appended. Paths without a kind are skipped.
  void AddFiles(const QStringList& paths, std::function<void()> finished = {});
  // Dropped or command-line names: only the accepted extensions (and, from
  // the command line, addresses).
  void AddDroppedFiles(const QStringList& names);
  // A stream entry titled with its address (the URL window); CurrentIndex
  // is untouched.
  void AddStream(const QString& url);
  // Fills the playlist at start-up: the command-line names (accepted files,
  // made absolute, and addresses), then the first entry starts; without
  // any, Default.pld and then `cassetteResume`. Throws FileError when
  // Default.pld exists but cannot be read: the playlist stays empty.
  void StartupLoader(const QStringList& arguments, std::function<void()> cassetteResume);
  // The local file names of a drop, in its order.
  static QStringList DroppedNames(const QMimeData& data);
  // Whether entries are still being measured and appended.
  bool Adding() const;
  EntryAdder& Adder() { return adder_; }

  // --- commands ---
  void ListBox1DblClick();  // StartEntry for the selected row
  void RemoveSelected();
  void ClearPlaylist();
  void DeleteFromDisk();
  void LoadPlaylistFile(const QString& fileName);  // appends the M3U's files
  void SavePlaylistFile(const QString& fileName);  // "#EXTM3U" and the paths
  // Selects row i and runs StartEntry (the roads that start a given entry).
  void StartIndex(int i);
  // Default.pld: the paths, and those still waiting to be appended. Throws
  // FileError when it cannot be written. A Default.pld that could not be
  // read at start-up is never overwritten.
  void SavePlaylist();
  // One tick of Timer1.
  void Timer1Timer();
  // The "X" button.
  void AdvGlassButton9Click();

  // Controls, named as the rest of the program knows them.
  GradientBackground* RzBackground1;  // title bar
  QLabel* LayList;
  GlassButton* AdvGlassButton9;       // "X"
  GradientBackground* RzBackground2;  // body
  GlassButton* AdvGlassButton1;       // "Доб"
  GlassButton* AdvGlassButton2;       // "Удл"
  GlassButton* AdvGlassButton3;       // "Плс"
  QWidget* Panel1;
  QLabel* Label2;                     // total / selected time
  MarkupListBox* ListBox1;
  QTimer* Timer1;
  QMenu* AdvPopupMenu1;               // "Доб"
  QAction* N1;
  QAction* http1;
  QMenu* AdvPopupMenu2;               // "Удл"
  QAction* MenuItem1;
  QAction* MenuItem2;
  QMenu* AdvPopupMenu3;               // "Плс"
  QAction* MenuItem3;
  QAction* Save1;
  QMenu* AdvPopupMenu4;               // the list's context menu
  QAction* N2;
  QMenu* N3;                          // "Конвертировать"
  QMenu* N4;                          // "Удалить из"
  QAction* N5;
  QAction* N6;
  QFileDialog* RzOpenDialog1;         // M3U to load
  QFileDialog* RzSaveDialog1;         // M3U to save

  int DragIndex = 0;
  // Set while a conversion runs: "Конвертировать" is then disabled.
  bool ConversionBusy = false;

 signals:
  // Run StartEntry for the selected row (the application owns the sequence).
  void StartEntryRequested();
  // The current entry was removed or the playlist cleared: the main window's
  // bit rate and time, the tray's texts follow.
  void NowPlayingCleared();
  // Timer1's display steps are due (the main window reads the engine).
  void TimeDisplaysDue();
  // The "Файл(ы)" item: the main window's open dialog.
  void OpenFilesRequested();
  // The "URL" item: the URL window.
  void UrlDialogRequested();
  // The J key: the search window.
  void SearchRequested();
  // The "Информация" item for the selected entry's path.
  void InfoRequested(const QString& path);
  // The "X" button hid the window; PlaylistShown is already false.
  void Closed();
  // Start-up restored the shown state: the main window's toggle follows.
  void ShownAtStartup(bool shown);
  // A large add is under way: entries appended of those queued (done ==
  // total when it has finished).
  void AddProgress(int done, int total);

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildControls();
  void BuildMenus();
  void Connect();
  GlassButton* Button(int left, const QString& caption);
  void PopupUnder(QMenu* menu, const GlassButton* button);
  void PlaylistChanged();
  void ReportAddProgress(int done, int total);

  // List handlers.
  void ListBox1KeyDown(QKeyEvent* event);
  void ListBox1MouseDown(QMouseEvent* event, int row);
  void ListBox1MouseMove(QMouseEvent* event, int row);
  void ListBox1MouseUp(QMouseEvent* event, int row);
  void ExchangeEntries(int a, int b);
  void PrepareContextMenu();
  void ClearNowPlaying();
  void ToggleRightEdge();

  // Auto-advance.
  void EntryEnded();
  void Advance(int i);  // the next entry of the round
  bool CurrentFailedToOpen() const;

  AppState& state_;
  TCore& engine_;
  EntryAdder adder_;
  QSizeGrip* grip_;         // the frameless window's resize handle
  QTimer* saveTimer_;       // Default.pld shortly after a change
  bool playlistReadable_ = true;  // false: Default.pld failed to read, keep it
  int failedStarts_ = 0;    // entries in a row that auto-advance found broken
  QRect floatingBounds_;    // before the window was aligned to the right edge
  bool rightAligned_ = false;
};

}  // namespace orve
