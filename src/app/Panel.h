#pragma once
// The small floating window shared by the welcome and conflict windows: titled, closable,
// not resizable, kept above normal windows and kept (only hidden) when closed. Closing it by
// the window manager's control or by Escape asks its delegate first.

#include <QWidget>

class QLabel;

namespace tavrino::app {

class PanelDelegate {
  public:
    virtual ~PanelDelegate() = default;
    virtual bool windowShouldClose() { return true; }
    virtual void windowWillClose() {}
};

class Panel : public QWidget {
    Q_OBJECT
  public:
    explicit Panel(PanelDelegate* delegate);

    QLabel* bodyLabel() const { return body_; }
    void setBodyLabel(QLabel* body) { body_ = body; }

    // Shows or hides the window manager's close control.
    void setClosable(bool closable);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    PanelDelegate* delegate_;
    QLabel* body_ = nullptr;
};

}  // namespace tavrino::app
