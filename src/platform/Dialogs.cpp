#include "platform/Dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

Dialogs::Answerer& answerer()
{
    static Dialogs::Answerer instance;
    return instance;
}

Dialogs::Reply showBox(QWidget* parent, const Dialogs::Request& request)
{
    using Kind = Dialogs::Kind;
    using Answer = Dialogs::Answer;
    switch (request.kind) {
    case Kind::Information:
        QMessageBox::information(parent, request.caption, request.text);
        return {};
    case Kind::Warning:
        QMessageBox::warning(parent, request.caption, request.text);
        return {};
    case Kind::Error:
        QMessageBox::critical(parent, request.caption, request.text);
        return {};
    case Kind::OkCancel: {
        const auto button = QMessageBox::question(parent, request.caption, request.text,
                                                  QMessageBox::Ok | QMessageBox::Cancel,
                                                  QMessageBox::Ok);
        return {button == QMessageBox::Ok ? Answer::Ok : Answer::Cancel, {}};
    }
    case Kind::YesNo: {
        const auto button = QMessageBox::question(parent, request.caption, request.text,
                                                  QMessageBox::Yes | QMessageBox::No,
                                                  QMessageBox::Yes);
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

QString Dialogs::openFileName(QWidget* parent, const QString& caption, const QString& filter)
{
    const Reply reply = ask(parent, {Kind::OpenFile, caption, {}, {}, filter});
    return reply.answer == Answer::Ok ? reply.text : QString();
}

void Dialogs::setAnswerer(Answerer newAnswerer)
{
    answerer() = std::move(newAnswerer);
}
