#pragma once

#include <QString>

#include <functional>

class QColor;
class QPrinter;
class QWidget;

// Every message box, question, input box and file picker of the program goes through here,
// so tests can answer them instead of a person: setAnswerer() replaces the real boxes, and a
// program started by a test with TESSALY_TEST_DIALOG_LOG set answers and records them itself.
class Dialogs
{
public:
    enum class Kind {
        Information,
        Warning,
        Error,
        OkCancel,
        YesNo,
        InputText,
        SaveFile,
        OpenFile,
        Color,
        Print,
        PrinterSetup
    };
    enum class Answer { Ok, Cancel, Yes, No };

    struct Request
    {
        Kind kind;
        QString caption;
        QString text;
        QString initialText; // input box text, the proposed file name, or the colour (#rrggbb)
        QString filter;      // file pickers
        QPrinter* printer = nullptr; // the print dialog and the printer set-up edit it
    };
    struct Reply
    {
        Answer answer = Answer::Ok;
        // typed text, chosen file, or chosen colour (#rrggbb); for the print dialog, a PDF file
        // to print into
        QString text;
    };
    using Answerer = std::function<Reply(const Request&)>;

    static void showInfo(QWidget* parent, const QString& caption, const QString& text);
    static void showWarning(QWidget* parent, const QString& caption, const QString& text);
    static void showError(QWidget* parent, const QString& caption, const QString& text);
    // True for OK / Yes.
    static bool askOkCancel(QWidget* parent, const QString& caption, const QString& text);
    static bool askYesNo(QWidget* parent, const QString& caption, const QString& text);
    // False when cancelled; *text gets what was typed.
    static bool inputText(QWidget* parent, const QString& caption, const QString& label,
                          QString* text);
    // An empty result when cancelled. The caller asks its own overwrite question.
    static QString saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                                const QString& filter);
    // False when cancelled; otherwise *fileName gets the chosen name, which may be empty. The
    // caller asks its own overwrite question.
    static bool chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                               const QString& filter, QString* fileName);
    static QString openFileName(QWidget* parent, const QString& caption, const QString& filter);
    // The colour dialog, opened with *color; false when cancelled, else *color is the choice.
    static bool chooseColor(QWidget* parent, const QString& caption, QColor* color);
    // The print dialog and the printer set-up, both on the given printer; true for OK.
    static bool print(QWidget* parent, QPrinter* printer);
    static bool printerSetup(QWidget* parent, QPrinter* printer);

    // Test hook: nullptr restores the real boxes.
    static void setAnswerer(Answerer answerer);

private:
    static Reply ask(QWidget* parent, const Request& request);
};
