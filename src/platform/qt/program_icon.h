// The program's icon ("TarvoIcon") at every size it ships in, so high-density screens get
// a sharp picture.
#pragma once

#include <QIcon>
#include <QString>

namespace brenavo::qt {

inline QIcon programIcon() {
  QIcon icon(QStringLiteral(":/icons/TarvoIcon.png"));
  for (int size : {16, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/brenavo.png").arg(size));
  return icon;
}

}  // namespace brenavo::qt
