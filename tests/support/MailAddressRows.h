#pragma once

// Winner addresses that would give the mail program more than one recipient or a header of its
// own: the rows of a "address" column.
namespace MailAddressRows {

void addSeveralRecipients();

} // namespace MailAddressRows
