#pragma once
// Create-on-first-use accessor shared by every manager of the program.
// GUI message thread only; the accessors are not safe against concurrent first use.

#include <new>
#include <string>
#include <typeinfo>

void ReportSingletonAllocationFailure(const std::string& typeName);

template <class T>
class TemplateSingleton
{
public:
    static T* GetInstance()
    {
        T*& instance = InstancePointer();
        if (instance == nullptr)
        {
            instance = new (std::nothrow) T();
            if (instance == nullptr)
                ReportSingletonAllocationFailure(typeid(T).name());
        }
        return instance;
    }

    static void DestroyInstance()
    {
        T*& instance = InstancePointer();
        delete instance;
        instance = nullptr;
    }

    static bool HasInstance() { return InstancePointer() != nullptr; }

protected:
    TemplateSingleton() = default;

    // Lets a subclass put a different object in the slot (the GUI error reporter).
    static T*& InstancePointer()
    {
        static T* instance = nullptr;
        return instance;
    }
};
