// The project's resources as the resources and upload windows use them: the name patterns
// of each mode, the list of the res folder, the tag a chosen file puts into a room, and the
// upload of chosen files into res.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "base/prompts.h"
#include "base/status.h"

namespace pm {

// "1": pictures, "2": background sounds (the window's mode field).
enum class ResourceMode { Images = 1, Sounds = 2 };

inline constexpr std::string_view kImagePatterns = "*.png;*.bmp;*.jpg;*.gif";
inline constexpr std::string_view kSoundPatterns = "*.mid;*.wav;*.mp3";
// What the upload window offers to copy.
inline constexpr std::string_view kUploadPatterns = "*.jpg;*.gif;*.bmp;*.png";

std::string_view resource_patterns(ResourceMode mode);

// The files of `folder` that match `patterns` ("*.a;*.b"), sorted by name without regard
// to case; a missing folder lists nothing.
std::vector<std::string> list_matching_files(const stdfs::path& folder, std::string_view patterns);

// The tag that refers to file `name` of res from a room, by a relative path "res\" + name:
//   images  <img src="res\NAME">
//   sounds  <bgsound src='res\NAME' loop='-1'>  (the sound repeats for ever)
// The name goes in as listed, blanks included. Only the characters that would end the
// attribute early are written as entities: a double quote as &quot; and, in the sound
// tag quoted with apostrophes, an apostrophe as &#39;.
std::string resource_tag(ResourceMode mode, std::string_view name);

// The question asked before an upload replaces a file of res, and its title.
inline constexpr std::string_view kUploadTitle = "UpLoad Immagini";
std::string replace_resource_question(std::string_view name);

// Copies the files `names` of `from` into the project's res folder `res` (created if
// needed), in the given order, each under its own name. A file of the same name already in
// res (in any case) may be used by other rooms: it is replaced only when the author answers
// Yes to replace_resource_question, name by name; No keeps it and skips that name. A file
// chosen from res itself is already there and is left alone. Each copy is atomic. Every
// file is tried; a failure (WriteFailed) names the files that could not be copied.
Status upload_files(const stdfs::path& from, const std::vector<std::string>& names, const stdfs::path& res,
                    Prompts& prompts);

}  // namespace pm
