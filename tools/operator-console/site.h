// What the console answers for each of its pages, read afresh from the cabinet every time.
#pragma once

#include <memory>
#include <string>

#include "cabinet.h"
#include "ledger_view.h"
#include "pages.h"

struct SiteResponse {
    int status = 200;
    std::string contentType = "text/html; charset=utf-8";
    std::string body;
};

// The record file of a content directory read for a page: its report, or why there is none.
RecordView ReadRecordView(const std::string& contentDir);

class ConsoleSite {
  public:
    ConsoleSite(CabinetPaths paths, std::string cabinetName);

    SiteResponse Status() const;
    SiteResponse Meters() const;
    // `pageText` is the page= parameter as given (empty for the first page).
    SiteResponse Ledger(const std::string& pageText) const;
    SiteResponse Payout() const;
    SiteResponse Log() const;
    SiteResponse Metrics() const;
    SiteResponse Error(int status, const std::string& message) const;

    // The ledger opened for the CSV download, which reads it a piece at a time.
    std::unique_ptr<LedgerView> OpenLedger(std::string& error) const;

  private:
    CabinetPaths paths_;
    std::string cabinet_;
};
