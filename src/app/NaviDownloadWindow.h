#pragma once

#include "site/DownloadControl.h"

class TFormNavi;

// The main window's side of the downloads: the commands, the progress bar, the status bar and
// the listing and message lists that follow what a download stored.
class NaviDownloadWindow final : public DownloadControl::Window
{
public:
    explicit NaviDownloadWindow(TFormNavi& navi) : m_navi(navi) {}

    QWidget* dialogOwner() override;
    void setDownloadCommandsEnabled(bool enabled) override;
    void setLoginButtonEnabled(bool enabled) override;
    void setBidSearchButtonEnabled(bool enabled) override;
    void setStopCommandEnabled(bool enabled) override;
    void progressStart(int maximum) override;
    void progressStep() override;
    void progressFinish() override;
    void showListingRowCount() override;
    QString newestStoredAid(const QString& loginId) override;
    bool hasSelectedListingRows() const override;
    QStringList selectedListingAids() const override;
    void
    visitListingRows(bool selectedOnly,
                     const std::function<bool(const DownloadControl::ListingRow&)>& visit) override;
    void applyListingStoreSummary(const ListingStoreSummary& summary) override;
    void showStoredBoard(const NaviStoreSummary& summary, NaviStore& store) override;

private:
    TFormNavi& m_navi;
};
