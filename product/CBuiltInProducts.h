#pragma once
// The product data that ships inside the program: writes "Product_PX1.xml" from scratch
// and updates "Product_PX1_Combos.xml" in the run directory at every start, before the
// catalogue (CProductManager) first reads them. Stateless; GUI message thread only.

#include <string>

class CXmlNode;
class CProductXMLHelper;

class CBuiltInProducts
{
public:
    static const std::string kProductFileName;
    static const std::string kCombosFileName;

    // Writes both files; "" when written, else which file could not be written and why.
    static std::string WriteBuiltInProducts();

    // Adds pins 1 … count stepping (dx, dy) from (x0, y0); existing pins are kept and
    // do not advance the position.
    static void BuildPinList(CXmlNode* product, int count, double dx, double dy, double x0, double y0);
    // The combo of model1 over model2, found by its key or appended (counted in Total).
    static CXmlNode* AddOrUpdateCombo(CXmlNode* productCombo, const std::string& model1,
                                      const std::string& model2);
    // The splay option `slot` of a combo, found or appended (counted in the combo's Total).
    static CXmlNode* AddOrUpdateSplay(CXmlNode* combo, int slot, const std::string& frontPin,
                                      const std::string& backPin, const std::string& touch,
                                      const std::string& touchTo, double angle, double spacing);

private:
    static std::string WriteProductDocument();
    static std::string WriteCombosDocument();
};
