#pragma once
// What a document counts of its own changes, kept as its TinyXML document's user data so
// that an element finds it by walking up, and moved along when the content changes hands.

struct DocumentCounts
{
    // Every change of the elements, texts or content (a document's kept print is current
    // while this is what it was when printed).
    unsigned long long changes = 0;
    // Every element added or removed.
    unsigned long long structure = 0;
};
