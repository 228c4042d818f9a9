#pragma once
// Readable failure messages for Qt's text and geometry types in GoogleTest
// assertions.

#include <QRect>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

inline void PrintTo(const QStringList& list, std::ostream* os) {
  *os << '{';
  for (qsizetype i = 0; i < list.size(); ++i) *os << (i ? ", \"" : "\"") << list[i].toStdString() << '"';
  *os << '}';
}

inline std::ostream& operator<<(std::ostream& os, const QPoint& p) { return os << '(' << p.x() << ", " << p.y() << ')'; }
inline std::ostream& operator<<(std::ostream& os, const QSize& s) { return os << s.width() << 'x' << s.height(); }
inline std::ostream& operator<<(std::ostream& os, const QRect& r) { return os << r.topLeft() << ' ' << r.size(); }
