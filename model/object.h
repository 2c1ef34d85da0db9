#pragma once

// The run-time class name CLogFile still declares; nothing reads it, and it
// goes with CLogFile's own use of it.
class CObject {
 public:
  virtual ~CObject() = default;
  virtual const char* GetRuntimeClassName() const = 0;
};

#define KIV_DECLARE_RUNTIME_CLASS(name) \
  const char* GetRuntimeClassName() const override { return #name; }
