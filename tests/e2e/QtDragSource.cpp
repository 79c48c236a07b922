// A Qt drag source for the end-to-end tests: a window at the top-left corner of the screen
// that drags the files named on its command line, offering copy and move. It behaves like a
// careless file manager: when the drop target answers "move", it deletes the files itself,
// so a test can see whether a drop ever asked for that.

#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

class Source : public QWidget {
  public:
    explicit Source(QList<QUrl> urls) : urls_(std::move(urls)) {
        setGeometry(0, 0, 200, 200);
        setWindowTitle("qt-drag-source");
    }

  protected:
    void mousePressEvent(QMouseEvent* event) override { pressedAt_ = event->position(); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!(event->buttons() & Qt::LeftButton) || dragging_) return;
        if ((event->position() - pressedAt_).manhattanLength() < 4) return;
        dragging_ = true;
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(urls_);
        drag->setMimeData(data);
        const Qt::DropAction result = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
        std::printf("result %s\n", result == Qt::MoveAction   ? "move"
                                   : result == Qt::CopyAction ? "copy"
                                                              : "none");
        std::fflush(stdout);
        if (result == Qt::MoveAction) {
            for (const QUrl& url : urls_)
                QFile::remove(url.toLocalFile());
        }
        dragging_ = false;
    }

  private:
    QList<QUrl> urls_;
    QPointF pressedAt_;
    bool dragging_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i)
        urls.push_back(QUrl::fromLocalFile(QString::fromUtf8(argv[i])));
    Source source(urls);
    source.show();
    std::printf("ready\n");
    std::fflush(stdout);
    return application.exec();
}
