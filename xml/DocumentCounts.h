#pragma once
// What a document counts of its own changes, kept as its TinyXML document's user data: an
// element's node finds it once, when made, and it moves along when the content changes hands.

#include <vector>

class CXmlNode;

struct DocumentCounts
{
    // Every change of the elements, texts or content (a document's kept print is current
    // while this is what it was when printed).
    unsigned long long changes = 0;
    // Every element added or removed.
    unsigned long long structure = 0;
    // Every change of a typed value, a text, an element or a link (see CXmlNode::FlushIsDue).
    unsigned long long values = 0;
    // The nodes that hold a cached point or line.
    std::vector<CXmlNode*> cached;
    // `values` after the last flush, and whether that flush found nothing to write.
    unsigned long long flushedAt = 0;
    bool flushedKnown = false;

    // A parse or a new root: every count moves.
    void NoteNewContent()
    {
        ++changes;
        ++structure;
        ++values;
    }
};
