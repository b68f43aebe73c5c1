// The mark-up the editor and the project manager insert to move the reader: a link that
// encloses the selected text, a timed jump to a room, and the timed return to the page
// the reader came from. Inputs are inserted as given (the seconds are not checked).
#pragma once

#include <string>
#include <string_view>

namespace pm {

// <a href="N.htm">selected</a>
std::string link_markup(std::string_view room, std::string_view selected);
// <meta http-equiv='refresh' content='S; url=N.htm'>
std::string timer_markup(std::string_view room, std::string_view seconds);
// <a href='N.htm'><--</a><meta http-equiv='refresh' content='S; url=javascript:history.back()'>
std::string back_link_markup(std::string_view room, std::string_view seconds);

// The message shown in the project manager's caption and hint while a target is awaited.
inline constexpr std::string_view kChooseTargetMessage =
    "Scegli una Stanza per creare un collegamento ad essa. Usa |F2| Per creare una nuova Stanza";
// The seconds prompt of the timer and back-link commands.
inline constexpr std::string_view kSecondsPrompt = "Inserire un numero espresso in secondi:";
inline constexpr std::string_view kSecondsTitle = "Contatore";

}  // namespace pm
