#pragma once

#include "common/NaviOptions.h"

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;

// What the settings dialog shows for the `Setting` section: the main window's options plus the
// two keys only the file keeps. Read with the dialog's defaults, which differ from the main
// window's for LoginAutoLogin (checked) and LoginTaskTrayShowBalloon (the window's value).
struct SettingValues : NaviOptions
{
    bool prInsert = true;
    bool loginAutoLogin = true;

    // bidBackColor is the text to show: a value that is not a colour number gives the default.
    // An operation index outside its box's items gives that key's default.
    static SettingValues read(const IniFile& ini, bool currentBalloon);
    // The options as the main window uses them: the row colour only while PrInsert is on.
    NaviOptions toNaviOptions() const;
};

// The dialog's tree, pages and controls, in the order they are shown.
namespace SettingPages {

struct Node
{
    QString caption;
    int parent;   // index of the parent node, -1 at the top
    QString page; // empty: selecting the node leaves the page as it is
};
const QList<Node>& treeNodes();
const QStringList& pageCaptions();
// The window caption once a node has been selected.
QString windowCaption(const QString& page);

// A check box or a combo box bound to one key of `Setting`.
struct Option
{
    enum Kind { Check, Combo } kind;
    QString page;
    QString group; // group box title, or empty
    QString label; // label before a combo box, or empty
    QString objectName;
    QString caption;   // check box caption
    QStringList items; // combo box items; the key stores the item index
    QString key;
    int defaultValue;
    bool SettingValues::*flag = nullptr;  // Check
    int SettingValues::*number = nullptr; // Combo
};
const QList<Option>& options();
const Option* option(const QString& objectName);

// One of the seven editable lists: numbered keys prefix + "Item" + n of a section.
struct ListOption
{
    QString page;
    QString group;
    QString section;
    QString prefix;
    QString objectName; // the list
    QString editName;
    QString buttonName;
};
// BidCarriage and BidForwarding, then Name, Post, Address1, Tel and Mail.
const QList<ListOption>& lists();
inline constexpr int otherItemListCount = 2;

inline const QString defaultBackColor = QStringLiteral("16772829");

} // namespace SettingPages
