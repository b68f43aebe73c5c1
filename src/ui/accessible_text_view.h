// The accessible text interface of the large text view: a screen reader reads its text by
// characters, words, lines or whole, follows its caret and selection, and asks where a
// character is drawn, as it does in Qt's own text areas. Offsets count UTF-16 units of the
// text with lines joined by one '\n', the text LargeTextView::text() gives.
#pragma once

namespace pm {

class LargeTextView;

// Makes Qt give every LargeTextView this interface (once; the view's constructor calls it).
void installAccessibleTextView();

// Tell assistive technology, when it listens, that the caret (and selection) of `view`
// moved, or that its text was replaced.
void announceTextCursor(LargeTextView* view);
void announceTextChanged(LargeTextView* view);

}  // namespace pm
