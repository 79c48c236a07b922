#pragma once
// A row of labelled segments of which exactly one is selected, drawn as one rounded
// control (Qt has no such widget). Clicking a segment selects it.

#include <QStringList>
#include <QWidget>

namespace tavrino::app {

class SegmentedControl : public QWidget {
    Q_OBJECT
  public:
    explicit SegmentedControl(QStringList labels, QWidget* parent = nullptr);

    int selected() const { return selected_; }
    // Selects without emitting selectionChanged (as a program's own choice, not the user's).
    void setSelected(int index);
    // The segment's rectangle in widget coordinates.
    QRect segmentRect(int index) const;
    int count() const { return static_cast<int>(labels_.size()); }

    QSize sizeHint() const override;

  Q_SIGNALS:
    void selectionChanged(int index);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int segmentWidth(int index) const;

    QStringList labels_;
    int selected_ = 0;
};

}  // namespace tavrino::app
