#pragma once

// The toolkit's warning channel (qWarning and its kin) as this program
// prints it: each message one line on standard error, as it was raised,
// with no prefix. Names reach messages decoded from Latin-1 and leave them
// as the same bytes, whatever the locale; a progress line on the terminal
// is cleared first, as for diagnostics.
void installWarningChannel();
