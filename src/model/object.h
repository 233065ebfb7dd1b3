#pragma once

// Root of the records that the document has to tell apart at run time. A class names itself
// through GetRuntimeClassName; IsKindOf answers for that name and for "CObject".
class CObject {
public:
    virtual ~CObject() = default;

    virtual const char* GetRuntimeClassName() const;
    bool IsKindOf(const char* className) const;

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
