// Requests on the accessibility bus that Qt's own bridge would answer without end, or
// not survive: the extents of a range of text (Qt's loop runs to the range's end, and
// a range to INT_MAX never ends) and text inserted at a position far past the end (Qt
// first makes a string that long). Any client on the session bus can send them. They
// are answered here instead, from the same accessible interfaces, with the range cut to
// the text; every other request goes to Qt as before.
#pragma once

namespace platform {

// Takes those requests off the accessibility bus, once Qt's bridge has connected to it;
// until then, and once done, it does nothing. Cheap: called whenever an accessible
// interface is made.
void answerUnboundedAccessibilityRequests();

} // namespace platform
