// Labels whose text changes (a count, a hint): the text is also the label's accessible
// name, so assistive technology reads what is shown; the label's fixed name, if any, is
// its accessible description.
#pragma once

#include <QLabel>
#include <QString>

namespace pm {

inline void setShownText(QLabel* label, const QString& text) {
  label->setText(text);
  label->setAccessibleName(text);
}

}  // namespace pm
