// UTF-8 byte strings <-> QString, only in window code.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace platformqt {

inline QString ToQ(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string FromQ(const QString& s) { return s.toUtf8().toStdString(); }
// The program's texts use CR LF; Qt widgets want LF.
inline QString ToQLines(std::string_view s) { return ToQ(s).replace(QStringLiteral("\r\n"), QStringLiteral("\n")); }
// The object name of the control numbered `id` in its window's table: windows and tests
// find controls by it.
inline QString ControlName(int id) { return QStringLiteral("ctl%1").arg(id); }

}  // namespace platformqt
