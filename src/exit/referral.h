// The refer-a-friend request: the exit screen's form, the eight checks it must pass and
// the referral address, which carries its five values to the maker's site.
#pragma once

#include <QString>

class QWidget;
namespace platform {
class MessageBoxService;
class UrlOpener;
} // namespace platform

namespace referral {

// Where a referral goes: the referral page's address, and the program's folder on the
// site that it names (given by the Program from the page catalogue).
struct Addresses
{
    QString page;
    QString siteFolder;
};

// The form as typed; the message with its line breaks as CR LF.
struct Form
{
    QString referrerName;
    QString referrerEmail;
    QString message;
    QString friendName;
    QString friendEmail;
};

enum class Field { ReferrerName, ReferrerEmail, Message, FriendName, FriendEmail };

// The text a box shows while it holds nothing of the user's.
QString placeholder(Field field);

// The most characters a box takes: a name, an e-mail address as long as mail allows, a
// message of some paragraphs. All five at their longest, percent-encoded, still make an
// address far below what a browser is handed as one argument (128 KiB on Linux).
int maxLength(Field field);

// Leading and trailing blanks removed; line breaks and other white space stay.
QString trimSpaces(const QString &text);

// What is wrong with the form, as the box says it, or empty when nothing is: the two
// addresses distinct, each with an "@" and a ".", then each value given and not its
// placeholder. Values count without their leading and trailing blanks.
QString refusal(const Form &form);

// The referral page's address with the five values and the program's folder on the
// site. Each value is percent-encoded, so whatever it holds ("&", "=", "#", line
// breaks) it comes back unchanged from the query and cannot add parameters.
QString buildReferralAddress(const Addresses &to, const Form &form);

// Refuses a form with what is wrong with it, a box of owner's; otherwise opens the
// address of the form's values without their blanks. Failures of the platform reach
// the caller.
void SubmitReferral(Form form, const Addresses &to, platform::MessageBoxService &boxes, platform::UrlOpener &browser,
                    QWidget *owner);

} // namespace referral
