// Find and replace over the editor's text, without regard to letter case. Each command
// takes the whole text (UTF-8, positions in bytes: see text_selection.h) and the two
// fields of the window, and says what to select and which message to show; the replacing
// commands also give the new text and record their changes in the edit history, one step
// per replacement.
//
// The window reads the editor's text and selection (selection_from_utf16), calls, and
// shows the result: a replacing command's text goes back into the editor with the
// history's replay flag set, as undo puts a text back (its steps are already recorded);
// then the selection (utf16_offset) and the message, when there is one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editor/edit_history.h"
#include "editor/text_selection.h"

namespace pm {

inline constexpr std::string_view kFindWindowCaption = "Trova / Sostituisci...";
inline constexpr std::string_view kNotFoundMessage = "Impossibile trovare il testo ricercato";
inline constexpr std::string_view kFinishedMessage = "Operazione completata";
inline constexpr std::string_view kEmptyFindMessage =
    "Nessun testo da cercare: scrivi nel campo Trova il testo da sostituire. Non è stato sostituito nulla.";

struct FindResult {
  std::optional<Selection> selection;  // what to select; nothing: the selection stays as it is
  std::string_view message;            // to show with the information icon when not empty
};

// "Trova": the first occurrence in the text. An empty find text gives the caret at the
// start; no occurrence gives kNotFoundMessage.
FindResult find_first(std::string_view text, std::string_view find);
// "Trova successivo": the first occurrence after the selection (or after the caret). No
// occurrence, or an empty find text, gives kFinishedMessage.
FindResult find_next(std::string_view text, Selection current, std::string_view find);

struct ReplaceResult {
  std::string text;      // the whole text afterwards (as it was when nothing was replaced)
  size_t changes = 0;    // steps recorded in the history
  std::optional<Selection> selection;
  std::string_view message;
};

// "Sostituisci": when the selection is an occurrence (the one the author found and sees),
// replaces it and selects the following occurrence (or leaves the replacement selected and
// says kFinishedMessage). Otherwise replaces nothing and selects the next occurrence after
// the selection, or the first in the text when none follows, so the author sees what the
// next click replaces; kNotFoundMessage when there is none. An empty find text replaces
// nothing and says kEmptyFindMessage.
ReplaceResult find_and_replace_one(std::string_view text, Selection current, std::string_view find,
                                   std::string_view replacement, EditHistory& history);

// "Sostituisci tutto": the same from the first occurrence, then each following occurrence
// in turn, each search starting after the replacement just made (so a replacement that
// holds the find text is not matched again). One history step per replacement, the last
// replacement selected and kFinishedMessage, or kNotFoundMessage and nothing replaced.
// An empty find text replaces nothing and says kEmptyFindMessage. Linear in the text: one pass, and only the history steps the history keeps are built.
ReplaceResult find_and_replace_all(std::string_view text, std::string_view find, std::string_view replacement,
                                   EditHistory& history);

}  // namespace pm
