// The pages of the online help, by window, and where they are: the Help folder of the
// program folder. The help root is the folder's index page.
#pragma once

#include <string>
#include <string_view>

#include "base/files.h"

namespace pm {

namespace help {
inline constexpr std::string_view kRoot = "";
inline constexpr std::string_view kStartPage = "creare_e_aprire.htm";
inline constexpr std::string_view kTutorial = "tutorial.htm";
inline constexpr std::string_view kProjectManager = "editare.htm";
inline constexpr std::string_view kEditor = "editor.htm";
inline constexpr std::string_view kStyleSheet = "layout.htm";
inline constexpr std::string_view kProperties = "proprieta.htm";
inline constexpr std::string_view kResources = "risorse.htm";
inline constexpr std::string_view kUpload = "carica_risorse.htm";
inline constexpr std::string_view kGlobalCode = "global_code.htm";
inline constexpr std::string_view kCompile = "compilazione.htm";
inline constexpr std::string_view kSettings = "impostazioni.htm";
inline constexpr std::string_view kFindReplace = "trova_sostituisci.htm";
inline constexpr std::string_view kColours = "colori.htm";
inline constexpr std::string_view kBookCheck = "verifica.htm";
inline constexpr std::string_view kGraph = "grafo.htm";
inline constexpr std::string_view kVersions = "versioni.htm";  // Versioni precedenti, Cestino
inline constexpr std::string_view kStories = "storie.htm";
inline constexpr std::string_view kRenumber = "rinumera.htm";
inline constexpr std::string_view kExport = "esporta.htm";
inline constexpr std::string_view kRootPage = "index.htm";
}  // namespace help

// The file of help page `page` under the program folder `home`; "" is the help root.
stdfs::path help_page_file(const stdfs::path& home, std::string_view page);

// The room editor's page: layout.htm when it holds the style sheet (its name field begins,
// in any case, with "adv.css"), editor.htm otherwise.
std::string_view editor_help_page(std::string_view editor_name);

}  // namespace pm
