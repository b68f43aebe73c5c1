// The mark-up the editor and the project manager insert to move the reader: a link that
// encloses the selected text, a timed jump to a room, and the timed return to the page
// the reader came from. The link and timer inputs are inserted as given; the back link's
// seconds, which go into a script, must be a number.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pm {

// <a href="N.htm">selected</a>
std::string link_markup(std::string_view room, std::string_view selected);
// <meta http-equiv='refresh' content='S; url=N.htm'>
std::string timer_markup(std::string_view room, std::string_view seconds);
// The back link: a visible arrow "<--" that goes back one step in the reader's history,
// and a script that does the same after `seconds` (as back_link_seconds gives them). It
// names no room and holds no ".htm", no double quote and no line break, so the one-page
// book's rewrites leave it alone; there, where every room is a section behind an anchor
// <a name="N">, the timer runs only while the reader is at the room it is in. Before it
// goes back it leaves a mark in the session storage (kBackMark) that the page foot reads,
// so the page the reader returns to does not send the reader forward again.
std::string back_link_markup(std::string_view seconds);
inline constexpr std::string_view kBackMark = "pagimond.indietro";
// The seconds typed for the back link as the script takes them: a whole or decimal
// number of seconds (a comma taken as the decimal point), blanks around it dropped; nothing
// when the answer is no such number.
std::optional<std::string> back_link_seconds(std::string_view answer);
inline constexpr std::string_view kBadSecondsMessage =
    "Il numero di secondi non \xC3\xA8 valido: scrivi un numero, ad esempio 5 (0 torna subito indietro).";

// The message shown in the project manager's caption and hint while a target is awaited.
inline constexpr std::string_view kChooseTargetMessage =
    "Scegli una Stanza per creare un collegamento ad essa. Usa |F2| Per creare una nuova Stanza";
// The seconds prompt of the timer and back-link commands.
inline constexpr std::string_view kSecondsPrompt = "Inserire un numero espresso in secondi:";
inline constexpr std::string_view kSecondsTitle = "Contatore";

}  // namespace pm
