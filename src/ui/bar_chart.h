// A horizontal bar chart painted with Qt: one row per bar, its label on the left, a wide bar
// for its value and a thin one under it for a second value to compare (the exact odds and
// the share the sample found), and its figures in words on the right. Assistive technology
// reads the rows as the items of a list, by their label and figures; the arrow keys go from
// row to row and Enter or a double-click reports the row.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "ui/accessible_items.h"

namespace pm {

class BarChart : public QWidget, public AccessibleItems {
  Q_OBJECT
 public:
  struct Bar {
    QString label;   // "Stanza 12"
    double value = 0;     // 0..1, the wide bar
    double second = 0;    // 0..1, the thin bar
    QString figures; // the values in words, shown at the right and read aloud
  };

  explicit BarChart(QWidget* parent = nullptr);
  void setBars(std::vector<Bar> bars);
  const std::vector<Bar>& bars() const { return bars_; }
  // Shown when there are no bars.
  void setEmptyText(const QString& text);

  int accessibleItemCount() const override { return int(bars_.size()); }
  QString accessibleItemName(int i) const override;
  QString accessibleItemDescription(int i) const override { return bars_[size_t(i)].figures; }
  QRect accessibleItemRect(int i) const override { return rowRect(i); }
  int currentAccessibleItem() const override { return current_; }
  void setCurrentAccessibleItem(int i) override;
  void activateAccessibleItem(int i) override;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void barActivated(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QRect rowRect(int i) const;
  int figuresWidth() const;
  int rowAt(QPoint p) const;

  std::vector<Bar> bars_;
  QString empty_;
  int current_ = -1;
};

}  // namespace pm
