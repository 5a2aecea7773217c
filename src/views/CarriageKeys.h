#pragma once

#include <QChar>
#include <QString>

// The key rules of the carriage and forwarding inputs above the listing list.
namespace CarriageKeys {

enum class Typed {
    Write,   // Enter: the carriage is written, the character itself is dropped
    Keep,    // a digit or Backspace reaches the box
    Discard, // anything else typed is dropped
};

// What a character typed into the carriage box does (Enter is character 13, Backspace 8).
Typed carriageTyped(QChar typed);
// What of a text that the input method commits into the carriage box gets in: its characters
// are typed ones, so only the digits.
QString carriageCommitted(const QString& committed);

// When the forwarding suggestions close on the item chosen: true when the edit takes that item's
// text (another item than the one current when the list opened); false leaves the typed text.
constexpr bool forwardingTakesItem(int indexWhenOpened, int chosenIndex)
{
    return chosenIndex >= 0 && chosenIndex != indexWhenOpened;
}

} // namespace CarriageKeys
