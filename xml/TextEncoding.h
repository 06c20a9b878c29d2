#pragma once
// The text of a design file as the reader takes it: UTF-8. A file whose XML declaration says
// ISO-8859-1 (Latin-1) is converted, its declaration then saying UTF-8, so that its letters
// survive a load and a save; UTF-16 and other encodings, and bytes that are not UTF-8 in a
// UTF-8 file, are refused with the reason instead of being read as something else.

#include <string>

namespace TextEncoding
{
// Makes `text` UTF-8 in place; false with `error` ("LINE: reason") saying what the text is.
bool ToUtf8(std::string& text, std::string& error);
}
