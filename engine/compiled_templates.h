#pragma once
// The header templates turned, at compile time, into byte ranges: each
// template character accepts the bytes lo .. lo + span ("9" the digits, "Z"
// the capitals, "." any byte, a literal itself), and "!" starts the next
// line. Testing a byte is then one subtraction and one comparison.
#include <iterator>

#include "engine/header_templates.h"

// Bytes of a template line, at most; past its end every byte fits.
inline constexpr int kTemplateWidth = 48;

// Aligned so that the scan can take each sixteen bytes of a row in one load.
struct TemplateLine {
  alignas(16) unsigned char lo[kTemplateWidth] = {};
  alignas(16) unsigned char span[kTemplateWidth] = {};
  alignas(16) unsigned char inside[kTemplateWidth] = {};  // 0xFF for the template's own bytes
  int count = 0;
};

struct CompiledTemplate {
  TemplateLine lines[2];
  int lineCount = 1;
  // The column of the "/" in the first line: every template has one there,
  // which is what lets a scan jump from one "/" to the next.
  int slashColumn = -1;
};

constexpr CompiledTemplate CompileTemplate(const char* tmpl) {
  CompiledTemplate c;
  for (TemplateLine& line : c.lines) {
    for (unsigned char& span : line.span) span = 255;
  }
  for (const char* t = tmpl; *t; ++t) {
    if (*t == '!') {
      ++c.lineCount;
      continue;
    }
    TemplateLine& line = c.lines[c.lineCount - 1];
    unsigned char lo = static_cast<unsigned char>(*t);
    unsigned char span = 0;
    if (*t == '9') lo = '0', span = 9;
    if (*t == 'Z') lo = 'A', span = 25;
    if (*t == '.') lo = 0, span = 255;
    if (*t == '/' && c.lineCount == 1 && c.slashColumn < 0) c.slashColumn = line.count;
    line.lo[line.count] = lo;
    line.span[line.count] = span;
    line.inside[line.count] = 0xFF;
    ++line.count;
  }
  return c;
}

inline constexpr CompiledTemplate kCompiledTemplates[] = {
    CompileTemplate(kHeaderTemplates[0]), CompileTemplate(kHeaderTemplates[1]), CompileTemplate(kHeaderTemplates[2]),
    CompileTemplate(kHeaderTemplates[3])};
static_assert(std::size(kCompiledTemplates) == kHeaderTemplates.size());

constexpr bool EveryFirstLineHasASlash() {
  for (const CompiledTemplate& c : kCompiledTemplates) {
    if (c.slashColumn < 0) return false;
  }
  return true;
}
static_assert(EveryFirstLineHasASlash());

inline bool FitsTemplate(const TemplateLine& line, int i, unsigned char b) {
  return static_cast<unsigned char>(b - line.lo[i]) <= line.span[i];
}

// Whether two template lines can fit the same bytes: at every column both
// hold, some byte fits both.
constexpr bool CanOverlap(const TemplateLine& a, const TemplateLine& b) {
  for (int i = 0; i < a.count && i < b.count; ++i) {
    if (a.lo[i] + a.span[i] < b.lo[i] || b.lo[i] + b.span[i] < a.lo[i]) return false;
  }
  return true;
}

// No line start inside a matched header can begin another header: no two
// templates fit the same line, and no first line fits where a later line of
// a header begins. Together with a template's bytes never being a line end,
// this lets the scan go on after a header's own bytes: no "/" among them is
// one of another header.
constexpr bool NoHeaderInsideAnother() {
  for (const CompiledTemplate& a : kCompiledTemplates) {
    for (const CompiledTemplate& b : kCompiledTemplates) {
      if (&a != &b && CanOverlap(a.lines[0], b.lines[0])) return false;
      for (int l = 1; l < b.lineCount; ++l) {
        if (CanOverlap(a.lines[0], b.lines[l])) return false;
      }
    }
  }
  return true;
}
static_assert(NoHeaderInsideAnother());

// The forum header line begins with "-"; a header line never does, so the
// line before a header that follows a header is never the forum header line.
constexpr bool NoHeaderLineBeginsWithADash() {
  for (const CompiledTemplate& c : kCompiledTemplates) {
    for (int l = 0; l < c.lineCount; ++l) {
      if (static_cast<unsigned char>('-' - c.lines[l].lo[0]) <= c.lines[l].span[0]) return false;
    }
  }
  return true;
}
static_assert(NoHeaderLineBeginsWithADash());
