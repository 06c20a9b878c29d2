#pragma once
// The text of a design file as the reader takes it: UTF-8. A file whose XML declaration says
// ISO-8859-1 (Latin-1) is converted, its declaration then saying UTF-8, so that its letters
// survive a load and a save; UTF-16 and other encodings, and bytes that are not UTF-8 in a
// UTF-8 file, are refused with the reason instead of being read as something else.

#include <string>
#include <vector>

namespace TextEncoding
{
struct DeclarationAttribute
{
    std::string name;
    std::string value;
    size_t valueAt = 0; // where the value starts in the text read
};

// The pseudo-attributes of an XML declaration, text[from, to) being what follows "<?xml" up
// to "?>": version, encoding and standalone, each name = quoted value, in the forms XML
// allows (a version 1.N, an encoding name of letters, digits, '.', '_' and '-', standalone
// yes or no). False when the declaration has any other form, so that a declaration read is
// one that is written back the same.
bool ReadDeclaration(const std::string& text, size_t from, size_t to, std::vector<DeclarationAttribute>& attributes);

// Makes `text` UTF-8 in place; false with `error` ("LINE: reason") saying what the text is.
bool ToUtf8(std::string& text, std::string& error);
}
