#pragma once

#include <string>
#include <unordered_set>
#include <vector>

// Upper-cased names of the sections Record_0 to Record_<count-1> whose raw
// text holds nothing but the record's own keys. A save writes all of those
// keys anew, so it need not ask the platform for these sections: a file of
// ten thousand records would otherwise cost ten thousand profile reads.
// The answer is empty unless the text is so plain that its sections are
// certainly the ones the platform reads: valid in the ANSI code page, no
// byte-order mark, lines ended by CR LF, no blanks at the start of a line,
// and its headers exactly the names the platform lists (sectionNames).
std::unordered_set<std::string> PlainRecordSections(const std::string& raw,
                                                    const std::vector<std::string>& sectionNames,
                                                    int count);
