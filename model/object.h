#pragma once

// The common root of the records and views: each carries its class name at
// run time, so a caller holding a root pointer can tell what it holds.
class CObject {
 public:
  virtual ~CObject() = default;
  virtual const char* GetRuntimeClassName() const = 0;
};

#define KIV_DECLARE_RUNTIME_CLASS(name) \
  const char* GetRuntimeClassName() const override { return #name; }
