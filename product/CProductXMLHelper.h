#pragma once
// Walks the reference points of a product section and grows lists of same-named point
// elements (a cursor over the children). Made on the stack by the product writer and by
// the array placement pass, used for one pass and dropped. GUI message thread only.

#include <string>
#include <vector>

class CXmlNode;
class CPoint;

class CProductXMLHelper
{
public:
    // Any mode other than kRead writes; kWriteNext also grows the list.
    enum PointMode { kRead = 1, kWriteNext = 2 };

    CProductXMLHelper();
    virtual ~CProductXMLHelper() = default;

    // "UL", "LL", "UR", "LR", "Center", "Connect1", "Connect2", "Connect3", filled on first use.
    const std::vector<std::string>& GetPointNames();
    void ResetCursor();

    // The next element named `tag` under `parent` after the cursor (created when mode is
    // kWriteNext); its X, Y are read into `point` (kRead) or written from it (other modes).
    CXmlNode* AddPoint(CXmlNode* parent, const std::string& tag, CPoint& point, int mode);

    // GetChild `tag` of `node`; X, Y read into `point` (kRead, the point's values are the
    // defaults) or written from it (any other mode).
    static CXmlNode* WritePointChild(CXmlNode* node, const std::string& tag, CPoint& point, int mode);

private:
    static void TransferXY(CXmlNode* element, CPoint& point, int mode);

    std::vector<std::string> pointNames;
    CXmlNode* cursor;
};
