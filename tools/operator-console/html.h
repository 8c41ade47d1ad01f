// The frame every console page shares: one self-contained HTML document (its style inline, no
// scripts, fonts or pictures from elsewhere) that reads on a phone as well as on a laptop.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text made safe inside HTML elements and attribute values (UTF-8 passes through).
std::string HtmlEscape(std::string_view text);

// The navigation entries; `current` marks the page shown.
enum class PageId { Status, Meters, Ledger, Payout, Log };

// A whole page: the cabinet's name, title, navigation and body. With `refreshSeconds` above 0 the
// browser reloads it by itself, so a page left open stays current.
std::string HtmlPage(std::string_view cabinet, std::string_view title, PageId current,
                     std::string_view body, int refreshSeconds);

// A notice box: "warning" (something the operator should know) or "error" (nothing could be read).
std::string Notice(std::string_view kind, std::string_view text);

// Pence as pounds, "£12.34" or "-£0.15", escaped for HTML.
std::string PoundsHtml(int64_t pence);
// A percent with one decimal ("31.4 %"), or "n/a".
std::string PercentHtml(const double* percent);
