#include "platform/qt/qt_help.h"

#include <QFile>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <algorithm>

namespace brenavo {

namespace {

const QString kHelpFile = QStringLiteral("brenavo.chm");
const QString kPageSeparator = QStringLiteral("::");
const QString kDefaultPage = QStringLiteral("index.htm");
const QString kPagesFolder = QStringLiteral("/help/");
constexpr int kViewerWidth = 640;
constexpr int kViewerHeight = 600;

QUrl pageUrl(const QString& page) {
  return QUrl(QStringLiteral("qrc") + ':' + kPagesFolder + page);
}

bool pageExists(const QString& page) { return QFile::exists(':' + kPagesFolder + page); }

QString missingPageHtml(const std::string& target) {
  const QString name = QString::fromUtf8(target.c_str()).toHtmlEscaped();
  return QStringLiteral(
             "<h2>Brenavo: Ayuda</h2>"
             "<p>No se encontro la pagina de ayuda \"%1\".</p>"
             "<p><a href=\"%2\">Ir a la pagina principal de la ayuda</a></p>")
      .arg(name, pageUrl(kDefaultPage).toString());
}

// The page a help target names: "index.htm" for "brenavo.chm", NAME for
// "brenavo.chm::NAME". Empty when the target names no page of the help file.
QString helpPageOf(const std::string& target) {
  const QString text = QString::fromUtf8(target.c_str());
  if (text.compare(kHelpFile, Qt::CaseInsensitive) == 0) return kDefaultPage;
  const QString prefix = kHelpFile + kPageSeparator;
  if (!text.startsWith(prefix, Qt::CaseInsensitive)) return {};
  const QString page = text.mid(prefix.size());
  // A page is a plain file name inside the help file, never a path.
  if (page.isEmpty() || page.contains('/') || page.contains('\\')) return {};
  return page;
}

// Top-left corner for a window of outer size `viewer` next to `owner`: to its right,
// else to its left, else against the right edge of `screen`; never above the screen.
QPoint besideOwner(const QRect& owner, const QSize& viewer, const QRect& screen) {
  int x = 0;
  if (owner.right() + viewer.width() <= screen.right()) {
    x = owner.right() + 1;
  } else if (owner.left() - viewer.width() >= screen.left()) {
    x = owner.left() - viewer.width();
  } else {
    x = std::max(screen.left(), screen.right() + 1 - viewer.width());
  }
  const int y =
      std::max(screen.top(), std::min(owner.top(), screen.bottom() + 1 - viewer.height()));
  return QPoint(x, y);
}

}  // namespace

QtHelp::QtHelp(QWidget* owner) : owner_(owner) {}

QtHelp::~QtHelp() { uninitialize(); }

// The pages are registered with the other resources when the program starts.
void QtHelp::initialize() {}

bool QtHelp::displayTopic(const std::string& target) {
  QTextBrowser& viewer = ensureViewer();
  const QString page = helpPageOf(target);
  const bool found = !page.isEmpty() && pageExists(page);
  if (found) {
    viewer.setSource(pageUrl(page));
  } else {
    viewer.setHtml(missingPageHtml(target));
  }
  viewer.show();
  viewer.raise();
  viewer.activateWindow();
  return found;
}

void QtHelp::uninitialize() { delete viewer_; }

QTextBrowser* QtHelp::viewer() const { return viewer_; }

QTextBrowser& QtHelp::ensureViewer() {
  if (viewer_) return *viewer_;
  auto* viewer = new QTextBrowser(owner_);
  viewer->setWindowFlags(Qt::Window);
  viewer->setObjectName(QStringLiteral("helpViewer"));
  viewer->setWindowTitle(QStringLiteral("Brenavo: Ayuda"));
  QSize size(kViewerWidth, kViewerHeight);
  if (owner_ != nullptr) {
    const QWidget* window = owner_->window();
    const QRect screen = window->screen()->availableGeometry();
    size = size.boundedTo(screen.size());
    viewer->resize(size);
    viewer->move(besideOwner(window->frameGeometry(), size, screen));
  } else {
    viewer->resize(size);
  }
  viewer_ = viewer;
  return *viewer;
}

}  // namespace brenavo
