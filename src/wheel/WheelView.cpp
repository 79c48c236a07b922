#include "wheel/WheelView.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QPainter>

#include "menu/MenuRules.h"
#include "wheel/HubDrawing.h"
#include "wheel/PetalDrawing.h"
#include "wheel/WheelStyle.h"
#include "wheel/YUp.h"
#include "wheel/geometry/HoverEasing.h"

namespace tavrino::wheel {
namespace {

// 120 and 60 steps a second; the motion itself follows the clock, not the step count.
constexpr int hoverIntervalMs = 8;
constexpr int spinIntervalMs = 16;

std::vector<WheelItem> convertItems() {
    std::vector<WheelItem> items;
    items.reserve(allFmts.size());
    for (Fmt fmt : allFmts)
        items.emplace_back(std::in_place_type<ConvertItem>, fmt);
    return items;
}

}  // namespace

WheelView::WheelView(QWidget* parent)
    : QWidget(parent),
      slots_(convertItems()),
      progress_(slots_.size(), 0.0),
      clock_(monotonicSeconds) {
    desktopReducesMotion_ = desktopReducesMotion();
    setAcceptDrops(true);
    setAttribute(Qt::WA_TranslucentBackground);
    animTimer_.setTimerType(Qt::PreciseTimer);
    animTimer_.setInterval(hoverIntervalMs);
    connect(&animTimer_, &QTimer::timeout, this, &WheelView::stepAnimation);
    spinTimer_.setTimerType(Qt::PreciseTimer);
    spinTimer_.setInterval(spinIntervalMs);
    connect(&spinTimer_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

WheelView::~WheelView() = default;

void WheelView::configure(const std::optional<DragInfo>& info, bool tools) {
    info_ = info;
    const std::vector<std::filesystem::path> none;
    slots_ = menuItems(info ? info->paths : none, tools ? MenuKind::tools : MenuKind::convert);
    progress_.assign(slots_.size(), 0.0);
    setHovered(std::nullopt);
    setHubState(HubIdle{});
    desktopReducesMotion_ = desktopReducesMotion();
    update();
}

void WheelView::setHubState(HubState state) {
    hubState_ = std::move(state);
    update();
    if (isWorking(hubState_)) {
        startSpinner();
    } else {
        stopSpinner();
    }
}

void WheelView::setHovered(std::optional<int> index) {
    const std::optional<int> old = hovered_;
    hovered_ = index;
    if (index == old) return;
    // There is no haptic engine on this desktop; the tick on changing petals is left out.
    startAnimating();
}

void WheelView::setProgress(std::vector<double> progress) {
    progress_ = std::move(progress);
    progress_.resize(slots_.size(), 0.0);
    update();
}

void WheelView::startAnimating() {
    if (animTimer_.isActive()) return;
    lastTick_ = clock_();
    animTimer_.start();
}

void WheelView::stepAnimation() {
    const double now = clock_();
    const double dt = now - lastTick_;
    lastTick_ = now;
    const bool moving = !progress_.empty() && stepHover(progress_, hovered_, dt);
    update();
    if (!moving) animTimer_.stop();
}

void WheelView::startSpinner() {
    if (spinTimer_.isActive()) return;
    workStart_ = clock_();
    spinTimer_.start();
}

void WheelView::stopSpinner() {
    spinTimer_.stop();
}

double WheelView::workingTime() const {
    return fixedElapsed_ ? *fixedElapsed_ : clock_() - workStart_;
}

void WheelView::setFixedElapsed(std::optional<double> seconds) {
    fixedElapsed_ = seconds;
    update();
}

void WheelView::setForceReduceMotion(std::optional<bool> reduce) {
    forceReduceMotion_ = reduce;
    update();
}

bool WheelView::reducesMotion() const {
    return forceReduceMotion_.value_or(desktopReducesMotion_);
}

void WheelView::setClock(Clock clock) {
    clock_ = std::move(clock);
}

void WheelView::setContentScale(double scale) {
    contentScale_ = scale;
    update();
}

Bounds WheelView::bounds() const {
    return {double(width()), double(height())};
}

std::optional<int> WheelView::slotAt(QPointF position) const {
    const YUp yUp(height());
    return wheel::slotAt(bounds(), static_cast<int>(slots_.size()), yUp.fromQt(position));
}

bool WheelView::dragMovedTo(QPointF position) {
    if (!isIdle(hubState_)) return false;
    setHovered(slotAt(position));
    return hovered_.has_value();
}

void WheelView::dragLeft() {
    setHovered(std::nullopt);
}

bool WheelView::dropAt(QPointF position, const QList<QUrl>& urls) {
    const std::optional<int> index = slotAt(position);
    if (!index) return false;
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) files.emplace_back(url.toLocalFile().toStdString());
    }
    if (files.empty()) return false;
    if (onDrop_) onDrop_(slots_[static_cast<size_t>(*index)], std::move(files));
    return true;
}

void WheelView::paint(QPainter& painter) {
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    if (contentScale_ != 1) {
        const QPointF c(width() / 2.0, height() / 2.0);
        painter.translate(c);
        painter.scale(contentScale_, contentScale_);
        painter.translate(-c);
    }
    const double ratio = painter.device() ? painter.device()->devicePixelRatioF() : 2.0;
    PaintContext context{painter, YUp(height()), bounds(), wheelColors(), 1.0 / ratio};
    drawPetals(context, slots_, progress_);
    HubScene scene{hubState_, 0, reducesMotion(), {}};
    if (isIdle(hubState_)) {
        scene.idleLines = idleHubLines(slots_, hovered_, info_);
    } else {
        scene.workingTime = workingTime();
    }
    drawHub(context, scene);
}

void WheelView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter);
}

void WheelView::dragEnterEvent(QDragEnterEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        event->ignore();
        return;
    }
    // The wheel opens under the pointer, so a drag usually enters over the hub. Refusing the
    // enter would end every later move event, so the drag is taken in and each move decides
    // whether a drop is possible there.
    dragMovedTo(event->position());
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void WheelView::dragMoveEvent(QDragMoveEvent* event) {
    if (dragMovedTo(event->position())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void WheelView::dragLeaveEvent(QDragLeaveEvent*) {
    dragLeft();
}

void WheelView::dropEvent(QDropEvent* event) {
    if (dropAt(event->position(), event->mimeData()->urls())) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

}  // namespace tavrino::wheel
