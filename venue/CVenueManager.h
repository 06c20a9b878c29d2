#pragma once
// Owns the venue document (Root/Venue: hang point, stage and audience areas), builds the
// default venue at start-up, loads and saves venue files and moves the Venue element into
// and out of an array document. Singleton; GUI message thread only.

#include "base/TemplateSingleton.h"
#include "xml/CXmlDocument.h"

#include <memory>
#include <string>

class CXmlNode;

class CVenueManager : public TemplateSingleton<CVenueManager>
{
public:
    CVenueManager() = default;
    // Records the venue in "Venue_Data.xml" (silently) and deletes the document.
    virtual ~CVenueManager();

    //==========================================================================
    // Created empty on first use.
    CXmlDocument* GetVenueDocument();
    // The Venue element with this slot, created (without areas) when missing.
    CXmlNode* GetVenue(int slot);
    // The default venue: five areas with their styles, recorded in "Venue_Data.xml".
    void InitialiseVenue();

    //==========================================================================
    // Venue file. Both report their failure through ReportError (logged and shown, not
    // thrown) and return false; on a failure the venue document is exactly as before.
    // The file is read once. It is refused, with the reason in the report, when it is
    // missing, unreadable, not a regular file, too large, not well-formed, lacks
    // Root/Venue, holds text that is not a number in an area's line or in a count, or a
    // count or line beyond VenueLimits.
    // An empty path loads "Venue_Large.xml".
    bool LoadVenueFile(const std::string& path);
    bool SaveVenueFile(const std::string& path);

    //==========================================================================
    // The Venue element inside an array file. Saving: CopyVenueInto before the array
    // document is written, RemoveVenueFrom after it; the venue document itself is never
    // touched, so the elements (and the controls bound to them) stay valid. Loading:
    // TakeVenueFrom moves the file's Venue into the venue document, so that afterwards
    // only the venue document holds it.
    // Appends a copy of every Venue element as the last children of `arrayRoot`, after
    // removing any Venue already there.
    void CopyVenueInto(CXmlNode* arrayRoot);
    static void RemoveVenueFrom(CXmlNode* arrayRoot);
    // Clears the venue document and moves the Venue children of `arrayRoot` into it.
    // Returns false, changing nothing, when `arrayRoot` holds no Venue.
    bool TakeVenueFrom(CXmlNode* arrayRoot);

    //==========================================================================
    // The serialized venue document, and putting it back: lets a command that fails half
    // way restore the venue as it was before the command.
    std::string SaveState();
    // `state` is a print of the venue document (see CXmlDocument::PutBack).
    void RestoreState(const std::shared_ptr<const std::string>& state);

private:
    std::unique_ptr<CXmlDocument> document;
};
