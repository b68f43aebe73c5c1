// Hands a document to the desktop's default application without waiting for it.
#pragma once

#include <filesystem>

namespace start {

// Asks the system to open `document` with its default application and returns at once.
// Nothing is reported: a missing opener or a failed start is simply ignored.
void open_document(const std::filesystem::path& document);

}  // namespace start
