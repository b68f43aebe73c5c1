// The horizontal bar chart (see bar_chart.h).
#include "ui/bar_chart.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace pm {

namespace {

constexpr int kRow = 30, kMargin = 8, kLabelWidth = 110;
const QColor kValueColour(0x2f, 0x6f, 0xb5), kSecondColour(0xd0, 0x8a, 0x1e), kTrack(0xe8, 0xec, 0xf0);

}  // namespace

BarChart::BarChart(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
  installAccessibleItemsView("pm::BarChart");
}

void BarChart::setBars(std::vector<Bar> bars) {
  bars_ = std::move(bars);
  current_ = bars_.empty() ? -1 : 0;
  updateGeometry();
  update();
  accessibleItemsReset(this);
}

void BarChart::setEmptyText(const QString& text) {
  empty_ = text;
  update();
}

QString BarChart::accessibleItemName(int i) const {
  return bars_[size_t(i)].label + ": " + bars_[size_t(i)].figures;
}

void BarChart::setCurrentAccessibleItem(int i) {
  if (i < 0 || i >= int(bars_.size())) return;
  current_ = i;
  update();
  announceCurrentItem(this);
}

void BarChart::activateAccessibleItem(int i) {
  if (i >= 0 && i < int(bars_.size())) emit barActivated(i);
}

// The figures of every bar fit at the right of the bars.
int BarChart::figuresWidth() const {
  int widest = 0;
  for (const Bar& bar : bars_) widest = std::max(widest, fontMetrics().horizontalAdvance(bar.figures));
  return widest + 2 * kMargin;
}

QSize BarChart::sizeHint() const {
  return {kLabelWidth + figuresWidth() + 200, 2 * kMargin + kRow * std::max<int>(1, int(bars_.size()))};
}

QSize BarChart::minimumSizeHint() const { return {kLabelWidth + figuresWidth() + 60, 2 * kMargin + kRow}; }

QRect BarChart::rowRect(int i) const { return QRect(0, kMargin + i * kRow, width(), kRow); }

int BarChart::rowAt(QPoint p) const {
  const int i = (p.y() - kMargin) / kRow;
  return p.y() >= kMargin && i < int(bars_.size()) ? i : -1;
}

void BarChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), palette().base());
  if (bars_.empty()) {
    p.setPen(palette().color(QPalette::Text));
    p.drawText(rect().adjusted(kMargin, kMargin, -kMargin, -kMargin), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               empty_);
    return;
  }
  const int barLeft = kLabelWidth + kMargin;
  const int figures = figuresWidth();
  const int barWidth = std::max(20, width() - barLeft - figures - kMargin);
  for (int i = 0; i < int(bars_.size()); ++i) {
    const Bar& bar = bars_[size_t(i)];
    const QRect row = rowRect(i);
    if (i == current_) p.fillRect(row, hasFocus() ? palette().highlight().color().lighter(180) : QColor(0xf2, 0xf4, 0xf6));
    p.setPen(palette().color(QPalette::Text));
    const QRect label(kMargin, row.top(), kLabelWidth - kMargin, row.height());
    p.drawText(label, Qt::AlignVCenter | Qt::AlignLeft,
               fontMetrics().elidedText(bar.label, Qt::ElideRight, label.width()));
    const QRect track(barLeft, row.top() + 6, barWidth, 12);
    p.fillRect(track, kTrack);
    p.fillRect(QRect(track.left(), track.top(), int(track.width() * std::clamp(bar.value, 0.0, 1.0) + 0.5), 12),
               kValueColour);
    p.fillRect(QRect(track.left(), track.bottom() + 3, int(track.width() * std::clamp(bar.second, 0.0, 1.0) + 0.5), 5),
               kSecondColour);
    p.drawText(QRect(barLeft + barWidth + kMargin, row.top(), figures, row.height()),
               Qt::AlignVCenter | Qt::AlignLeft, bar.figures);
  }
}

void BarChart::keyPressEvent(QKeyEvent* event) {
  const int last = int(bars_.size()) - 1;
  switch (event->key()) {
    case Qt::Key_Down: setCurrentAccessibleItem(std::min(current_ + 1, last)); break;
    case Qt::Key_Up: setCurrentAccessibleItem(std::max(current_ - 1, 0)); break;
    case Qt::Key_Home: setCurrentAccessibleItem(0); break;
    case Qt::Key_End: setCurrentAccessibleItem(last); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: activateAccessibleItem(current_); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void BarChart::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  setCurrentAccessibleItem(rowAt(event->position().toPoint()));
}

void BarChart::mouseDoubleClickEvent(QMouseEvent* event) { activateAccessibleItem(rowAt(event->position().toPoint())); }

}  // namespace pm
