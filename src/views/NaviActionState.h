#pragma once

#include <QMap>
#include <QString>

#include <optional>

// Which message commands the main window offers, decided from the active tab, the listing
// tab's message panel and its selection, and the folder chosen on the message tab.
struct NaviActionInput
{
    bool naviTab = false;
    // Message tab: the chosen folder's id and kind.
    QString folderId;
    int kind = -1;
    // Listing tab: the message panel and its list.
    bool bidNaviPanelVisible = false;
    int bidNaviSelectedRows = 0;
    int selectedPicture = -1; // the picture of the selected row when exactly one is selected
};

struct NaviActionState
{
    // By object name: the commands and menus to enable or disable; a name not listed is left
    // as it is.
    QMap<QString, bool> enabled;
    // The popup items to show or hide.
    QMap<QString, bool> visible;
    // Whether folders may be renamed in place; unset leaves the tree as it is.
    std::optional<bool> treeEditable;
};

NaviActionState decideNaviActions(const NaviActionInput& input);
