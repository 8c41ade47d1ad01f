#include "html.h"

#include <cstdio>

#include "meter_figures.h"

namespace {

constexpr std::string_view kStyle = R"css(
:root { color-scheme: light; }
* { box-sizing: border-box; }
body { margin: 0; font: 15px/1.45 system-ui, -apple-system, "Segoe UI", Roboto, sans-serif;
  color: #1b1b1b; background: #f4f5f7; }
header { background: #1d2a3a; color: #fff; padding: 8px 12px; }
header h1 { font-size: 17px; margin: 0 0 6px; font-weight: 600; }
nav { display: flex; flex-wrap: wrap; gap: 4px; }
nav a { color: #dfe7f1; text-decoration: none; padding: 4px 10px; border-radius: 4px; }
nav a[aria-current] { background: #fff; color: #1d2a3a; font-weight: 600; }
main { padding: 12px; max-width: 1000px; margin: 0 auto; }
section { background: #fff; border: 1px solid #dde1e6; border-radius: 6px; padding: 10px 12px;
  margin: 0 0 12px; }
h2 { font-size: 16px; margin: 0 0 8px; }
.scroll { overflow-x: auto; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; padding: 4px 8px; border-bottom: 1px solid #eceef1;
  vertical-align: top; }
td.n, th.n { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
.figures { display: grid; grid-template-columns: repeat(auto-fit, minmax(150px, 1fr));
  gap: 8px; }
.figure { border: 1px solid #eceef1; border-radius: 6px; padding: 6px 10px; }
.figure .label { font-size: 12px; color: #5a6470; }
.figure .value { font-size: 22px; font-weight: 600; font-variant-numeric: tabular-nums; }
.notice { border-radius: 6px; padding: 8px 12px; margin: 0 0 12px; }
.notice.warning { background: #fff4d6; border: 1px solid #e6c25c; }
.notice.error { background: #fde2e1; border: 1px solid #e08883; }
.ok { color: #1e7b34; font-weight: 600; }
.bad { color: #b3261e; font-weight: 600; }
.muted { color: #5a6470; }
pre { background: #111; color: #e8e8e8; padding: 8px; border-radius: 6px; overflow-x: auto;
  font: 12px/1.4 ui-monospace, "DejaVu Sans Mono", monospace; white-space: pre-wrap;
  word-break: break-all; }
svg.chart { width: 100%; height: auto; background: #fff; }
.pager { display: flex; flex-wrap: wrap; gap: 8px; align-items: center; margin: 8px 0; }
.pager a { padding: 4px 10px; border: 1px solid #c7ced6; border-radius: 4px;
  text-decoration: none; }
footer { text-align: center; font-size: 12px; color: #5a6470; padding: 0 0 16px; }
)css";

struct NavEntry {
    PageId id;
    const char* href;
    const char* name;
};
constexpr NavEntry kNav[] = {
    {PageId::Status, "/", "Status"},       {PageId::Meters, "/meters", "Meters"},
    {PageId::Ledger, "/ledger", "Ledger"}, {PageId::Payout, "/payout", "Payout"},
    {PageId::Log, "/log", "Log"},
};

}  // namespace

std::string HtmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string HtmlPage(std::string_view cabinet, std::string_view title, PageId current,
                     std::string_view body, int refreshSeconds) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en-GB\"><head><meta charset=\"utf-8\">"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">";
    if (refreshSeconds > 0) {
        page += "<meta http-equiv=\"refresh\" content=\"" + std::to_string(refreshSeconds) + "\">";
    }
    page += "<title>" + HtmlEscape(title) + " - " + HtmlEscape(cabinet) + "</title><style>";
    page += kStyle;
    page += "</style></head><body><header><h1>Vantor operator's console: <span id=\"cabinet\">" +
            HtmlEscape(cabinet) + "</span></h1><nav>";
    for (const NavEntry& entry : kNav) {
        page += std::string("<a href=\"") + entry.href + "\"" +
                (entry.id == current ? " aria-current=\"page\"" : "") + ">" + entry.name + "</a>";
    }
    page += "</nav></header><main><h2 id=\"page-title\">" + HtmlEscape(title) + "</h2>";
    page += body;
    page +=
        "</main><footer>Read-only: money moves only through the credit service.</footer>"
        "</body></html>\n";
    return page;
}

std::string Notice(std::string_view kind, std::string_view text) {
    return "<div class=\"notice " + std::string(kind) + "\" role=\"status\">" + HtmlEscape(text) +
           "</div>";
}

std::string PoundsHtml(int64_t pence) {
    return HtmlEscape(FormatPounds(pence));
}

std::string PercentHtml(const double* percent) {
    if (!percent) return "n/a";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", *percent);
    return text;
}
