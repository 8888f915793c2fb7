// Objects that know their class at run time: the base of everything in the
// class layer, and the per-class record that creates objects by class.
#pragma once

#include <windows.h>

class CObject;
class CArchive;

struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  CObject* (*m_pfnCreateObject)();  // null when the class is not creatable
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;  // registry of every class, for FromName

  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

  static CRuntimeClass* FromName(LPCSTR lpszClassName);
  static CObject* CreateObject(LPCSTR lpszClassName);
};

// Links a class record into the registry during static initialisation.
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass);
};

class CObject {
 public:
  static CRuntimeClass classCObject;

  virtual ~CObject() = default;
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual void Serialize(CArchive& ar);
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name) \
 public:                            \
  static CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, pfnNew)              \
  CRuntimeClass class_name::class##class_name = {                                    \
      #class_name, sizeof(class_name), pfnNew, RUNTIME_CLASS(base_class_name), nullptr}; \
  static AFX_CLASSINIT _init_##class_name(&class_name::class##class_name);            \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                   \
  CObject* class_name::CreateObject() { return new class_name; }           \
  AFX_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, class_name::CreateObject)
