#include "platform/Dialogs.h"

#include <QColor>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace {

const char* kindName(Dialogs::Kind kind)
{
    static const char* const names[] = {"Information", "Warning",  "Error",    "OkCancel",
                                        "YesNo",       "InputText", "SaveFile", "OpenFile",
                                        "Color",       "Print",     "PrinterSetup"};
    return names[int(kind)];
}

// For tests that run the program as a process of its own: with TESSALY_TEST_DIALOG_LOG set, no
// box is shown; each one is answered OK (Yes, the proposed text) and recorded in that file as
// one line: kind, tab, caption, tab, text (line breaks as "\n").
Dialogs::Answerer answererFromEnvironment()
{
    const QString logPath = qEnvironmentVariable("TESSALY_TEST_DIALOG_LOG");
    if (logPath.isEmpty())
        return {};
    return [logPath](const Dialogs::Request& request) {
        QFile log(logPath);
        if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
            QString text = request.text;
            text.replace('\n', QStringLiteral("\\n"));
            log.write(QStringLiteral("%1\t%2\t%3\n")
                          .arg(QString::fromLatin1(kindName(request.kind)), request.caption, text)
                          .toUtf8());
        }
        Dialogs::Reply reply;
        reply.answer =
            request.kind == Dialogs::Kind::YesNo ? Dialogs::Answer::Yes : Dialogs::Answer::Ok;
        reply.text = request.initialText;
        return reply;
    };
}

Dialogs::Answerer& answerer()
{
    static Dialogs::Answerer instance = answererFromEnvironment();
    return instance;
}

// A message box that shows its text as it stands: a box may quote a name, a subject or a page.
QMessageBox::StandardButton runBox(QWidget* parent, QMessageBox::Icon icon,
                                   const Dialogs::Request& request,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, request.caption, request.text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.exec();
    return box.standardButton(box.clickedButton());
}

Dialogs::Reply showBox(QWidget* parent, const Dialogs::Request& request)
{
    using Kind = Dialogs::Kind;
    using Answer = Dialogs::Answer;
    switch (request.kind) {
    case Kind::Information:
        runBox(parent, QMessageBox::Information, request, QMessageBox::Ok, QMessageBox::NoButton);
        return {};
    case Kind::Warning:
        runBox(parent, QMessageBox::Warning, request, QMessageBox::Ok, QMessageBox::NoButton);
        return {};
    case Kind::Error:
        runBox(parent, QMessageBox::Critical, request, QMessageBox::Ok, QMessageBox::NoButton);
        return {};
    case Kind::OkCancel: {
        const auto button = runBox(parent, QMessageBox::Question, request,
                                   QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok);
        return {button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel, {}};
    }
    case Kind::YesNo: {
        const auto button = runBox(parent, QMessageBox::Question, request,
                                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return {button == QMessageBox::Yes ? Answer::Yes : Answer::No, {}};
    }
    case Kind::InputText: {
        bool ok = false;
        const QString text = QInputDialog::getText(parent, request.caption, request.text,
                                                   QLineEdit::Normal, request.initialText, &ok);
        return {ok ? Answer::Ok : Answer::Cancel, text};
    }
    case Kind::SaveFile: {
        const QString file = QFileDialog::getSaveFileName(
            parent, request.caption, request.initialText, request.filter, nullptr,
            QFileDialog::DontConfirmOverwrite);
        return {file.isEmpty() ? Answer::Cancel : Answer::Ok, file};
    }
    case Kind::OpenFile: {
        const QString file =
            QFileDialog::getOpenFileName(parent, request.caption, QString(), request.filter);
        return {file.isEmpty() ? Answer::Cancel : Answer::Ok, file};
    }
    case Kind::Color: {
        const QColor color =
            QColorDialog::getColor(QColor(request.initialText), parent, request.caption);
        return {color.isValid() ? Answer::Ok : Answer::Cancel, color.name()};
    }
    case Kind::Print: {
        QPrintDialog dialog(request.printer, parent);
        return {dialog.exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel, {}};
    }
    case Kind::PrinterSetup: {
        QPageSetupDialog dialog(request.printer, parent);
        return {dialog.exec() == QDialog::Accepted ? Answer::Ok : Answer::Cancel, {}};
    }
    }
    return {};
}

} // namespace

Dialogs::Reply Dialogs::ask(QWidget* parent, const Request& request)
{
    if (answerer())
        return answerer()(request);
    return showBox(parent, request);
}

void Dialogs::showInfo(QWidget* parent, const QString& caption, const QString& text)
{
    ask(parent, {Kind::Information, caption, text, {}, {}});
}

void Dialogs::showWarning(QWidget* parent, const QString& caption, const QString& text)
{
    ask(parent, {Kind::Warning, caption, text, {}, {}});
}

void Dialogs::showError(QWidget* parent, const QString& caption, const QString& text)
{
    ask(parent, {Kind::Error, caption, text, {}, {}});
}

bool Dialogs::askOkCancel(QWidget* parent, const QString& caption, const QString& text)
{
    return ask(parent, {Kind::OkCancel, caption, text, {}, {}}).answer == Answer::Ok;
}

bool Dialogs::askYesNo(QWidget* parent, const QString& caption, const QString& text)
{
    return ask(parent, {Kind::YesNo, caption, text, {}, {}}).answer == Answer::Yes;
}

bool Dialogs::inputText(QWidget* parent, const QString& caption, const QString& label,
                        QString* text)
{
    const Reply reply = ask(parent, {Kind::InputText, caption, label, *text, {}});
    if (reply.answer != Answer::Ok)
        return false;
    *text = reply.text;
    return true;
}

QString Dialogs::saveFileName(QWidget* parent, const QString& caption, const QString& proposed,
                              const QString& filter)
{
    const Reply reply = ask(parent, {Kind::SaveFile, caption, {}, proposed, filter});
    return reply.answer == Answer::Ok ? reply.text : QString();
}

bool Dialogs::chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposed,
                             const QString& filter, QString* fileName)
{
    const Reply reply = ask(parent, {Kind::SaveFile, caption, {}, proposed, filter});
    if (reply.answer != Answer::Ok)
        return false;
    *fileName = reply.text;
    return true;
}

QString Dialogs::openFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    const Reply reply = ask(parent, {Kind::OpenFile, caption, {}, {}, filter});
    return reply.answer == Answer::Ok ? reply.text : QString();
}

bool Dialogs::print(QWidget* parent, QPrinter* printer)
{
    Request request{Kind::Print, {}, {}, printer->outputFileName(), {}};
    request.printer = printer;
    const Reply reply = ask(parent, request);
    if (reply.answer != Answer::Ok)
        return false;
    // An answer naming a file prints into that PDF file.
    if (answerer() && !reply.text.isEmpty()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(reply.text);
    }
    return true;
}

bool Dialogs::printerSetup(QWidget* parent, QPrinter* printer)
{
    Request request{Kind::PrinterSetup, {}, {}, {}, {}};
    request.printer = printer;
    return ask(parent, request).answer == Answer::Ok;
}

void Dialogs::setAnswerer(Answerer newAnswerer)
{
    answerer() = std::move(newAnswerer);
}

bool Dialogs::chooseColor(QWidget* parent, const QString& caption, QColor* color)
{
    const Reply reply = ask(parent, {Kind::Color, caption, {}, color->name(), {}});
    const QColor chosen(reply.text);
    if (reply.answer != Answer::Ok || !chosen.isValid())
        return false;
    *color = chosen;
    return true;
}
