// The date and the time as the tool writes them: a new project's date and the editor's
// "Data" and "Ora" inserts use these, so they share one format.
#pragma once

#include <ctime>
#include <string>

namespace pm {

// dd/mm/yyyy
std::string short_date_text(const std::tm& when);
// hh:mm:ss, 24-hour clock
std::string time_text(const std::tm& when);

// `t` in local time.
std::tm local_time(std::time_t t);

// The same for the system's clock, in local time.
std::string today_short_date();
std::string now_time_text();

}  // namespace pm
