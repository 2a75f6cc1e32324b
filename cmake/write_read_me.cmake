# Writes the authors' read-me with the version filled in and CR LF line ends.
file(READ ${SOURCE} text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE ${TARGET}.new "${text}")
file(RENAME ${TARGET}.new ${TARGET})
