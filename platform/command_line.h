#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

/// Splits a command line into its words the way Windows programs read theirs: blanks and tabs
/// separate words, double quotes group (and are removed), backslashes are ordinary characters,
/// so `patches\d1_ud_11` stays one word. An unclosed quote runs to the end of the line.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

/// The word as it must stand in a command line so that it comes back from splitCommandLine (and
/// from our command interpreter) as exactly one literal word. Plain names stand unchanged; names
/// with blanks or characters an interpreter treats specially are put in double quotes. Nothing
/// when the word cannot be passed safely at all: it is empty, holds a double quote or a control
/// character, or a backslash. Where backslashes part folders (`backslashParts`, Windows) they are
/// what they are, and only a word that ends in one is refused; elsewhere our tools would read one
/// in a name as a folder separator.
std::optional<std::string> quoteForCommandLine(const std::string& word, bool backslashParts = false);

}  // namespace platform
