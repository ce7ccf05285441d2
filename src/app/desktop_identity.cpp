#include "app/desktop_identity.h"

#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include "build_info.h"

namespace quarrow {

void SetDesktopIdentity() {
  // The renderings of every size are built into the program: an installed theme may lack them.
  QIcon icon;
  QDirIterator sizes(":/icons", QDir::Files, QDirIterator::Subdirectories);
  while (sizes.hasNext()) {
    icon.addFile(sizes.next());
  }
  QApplication::setWindowIcon(icon);
  QGuiApplication::setDesktopFileName(kAppId);
  QGuiApplication::setApplicationName("Quarrow");
}

}  // namespace quarrow
