// The refer-a-friend request: checks the five values of the exit screen's form and
// opens the referral address, which carries them to the maker's site.
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

struct State
{
    QString ReferrerName;
    QString ReferrerEmail;
    QString ReferralMessage;
    QString FriendName;
    QString FriendEmail;
    QString ReferralAddress;
};

// Leading and trailing blanks removed; line breaks and other white space stay.
QString TrimSpaces(const QString &text);

// The referral page's address with the five values and the program's folder on the
// site. Each value is percent-encoded, so whatever it holds ("&", "=", "#", line
// breaks) it comes back unchanged from the query and cannot add parameters.
QString BuildReferralAddress(const Addresses &to, const QString &referrerName, const QString &referrerEmail,
                             const QString &message, const QString &friendName, const QString &friendEmail);

// Refuses a missing or placeholder value of the state with its message, a box of
// owner's; otherwise builds the address and opens it. Failures of the platform reach
// the caller.
void SubmitReferral(State &state, const Addresses &to, platform::MessageBoxService &boxes, platform::UrlOpener &browser,
                    QWidget *owner);

} // namespace referral
