#pragma once
// The array design: owns the array document (lines, positions, placed products and every
// geometry result), builds it from the array script at start-up, and saves and loads the
// ".21w" array files with the venue element inside. Singleton; its destructor writes
// "Array_Output.xml". GUI message thread only.

#include "array/CArrayLineWrap.h"
#include "array/CArrayProdWrap.h"
#include "base/TemplateSingleton.h"
#include "xml/CXmlDocument.h"

#include <memory>
#include <string>

class CXmlNode;

class CArrayManager : public TemplateSingleton<CArrayManager>
{
public:
    enum ArrayMode { kCreate = 4, kFind = 8 };

    static const std::string kSettingsFileName;
    static const std::string kOutputFileName;

    virtual ~CArrayManager();

    // Start-up step (after the catalogue's): settings, default script, the design built
    // from it and its geometry.
    void StartUp();
    // Seeds the start-up script's random choice with `seed` instead of the time, so that a
    // batch run is reproducible. Takes effect at the next StartUp.
    void SetStartupSeed(unsigned seed);

    CXmlDocument* GetDocument();
    // The Array with Slot `number`; created (kCreate) or the null node (any other mode).
    CXmlNode* GetArray(int number, int mode);
    CArrayLineWrap GetLine(int number, int mode);
    CXmlNode* GetProductList();
    CArrayProdWrap FindProductByXGuid(const std::string& xguid);
    // A new Product with `xguid`, or a fresh identifier when it is empty or taken.
    CArrayProdWrap NewProduct(const std::string& xguid);
    std::string MakeXGuid();
    void BuildFromScript(CXmlDocument& script);

    //==========================================================================
    // Array files. Save moves the venue in for the write and always out again; the file
    // is written atomically. False when the file could not be written.
    bool SaveArrayFile(const std::string& path);
    // Loads, relinks and recomputes array 1 and moves a venue found in the file into the
    // venue document. The file is read once; one that is missing, not a regular file, not
    // well-formed XML, without an Array, or beyond ArrayLimits or VenueLimits changes
    // nothing and gives false, with the reason in LastLoadError.
    bool LoadArrayFile(const std::string& path);
    std::string LastLoadError() const { return loadError; }
    // Why the last SaveArrayFile failed.
    std::string LastSaveError();

private:
    friend class TemplateSingleton<CArrayManager>;
    CArrayManager() = default;

    static void WriteDefaultScript(CXmlNode* root);

    std::unique_ptr<CXmlDocument> document;
    std::string loadError;
    int xguidCounter = 0;
    bool hasStartupSeed = false;
    unsigned startupSeed = 0;
};
