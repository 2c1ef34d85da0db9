#include "tools/samplegen/message_fields.h"

#include <algorithm>
#include <cstdio>

#include "tools/samplegen/prng.h"
#include "tools/samplegen/text_pool.h"

namespace samplegen {

namespace {

constexpr std::uint64_t kFieldStream = 0xF1E1D;
constexpr std::uint64_t kAuthorStream = 0xA07;
constexpr std::uint64_t kStartStream = 0x57A27;

// The identifier of author k for this seed: three capitals and five digits.
std::string UserId(std::uint64_t seed, std::uint32_t author) {
  Prng rng(DeriveSeed(seed, kAuthorStream, author));
  char id[12];
  std::snprintf(id, sizeof id, "%c%c%c%05u", 'A' + rng.Below(26), 'A' + rng.Below(26), 'A' + rng.Below(26),
                rng.Below(100000));
  return id;
}

}  // namespace

CivilTime MessageTime(std::uint64_t seed, int room, int index, const CivilTime& start) {
  // A fixed 75-minute pace plus a jitter below it keeps times in order
  // without replaying every earlier message.
  Prng rng(DeriveSeed(seed, kFieldStream, static_cast<std::uint64_t>(room), static_cast<std::uint64_t>(index) * 2 + 1));
  return AddMinutes(start, static_cast<std::int64_t>(index) * 75 + rng.Below(75));
}

CivilTime DefaultStart(std::uint64_t seed, int room) {
  Prng rng(DeriveSeed(seed, kStartStream, static_cast<std::uint64_t>(room)));
  CivilTime base{1996, 1, 1, 0, 0};
  return AddMinutes(base, static_cast<std::int64_t>(rng.Below(730)) * 1440 + rng.Between(8 * 60, 23 * 60));
}

MessageFields MakeMessageFields(const MessageKey& key) {
  const TextPool& pool = TextPool::Get();
  Prng rng(DeriveSeed(key.seed, kFieldStream, static_cast<std::uint64_t>(key.room),
                      static_cast<std::uint64_t>(key.index) * 2));
  MessageFields m;
  m.number = key.number;
  const std::uint32_t author = rng.Below(static_cast<std::uint32_t>(pool.authors().size()));
  m.userId = UserId(key.seed, author);
  m.author = pool.authors()[author];
  m.subject = pool.subjects()[rng.Below(static_cast<std::uint32_t>(pool.subjects().size()))];
  const int back = std::min(20, key.number - key.first);
  if (back > 0 && rng.OneIn(2)) m.reference = key.number - rng.Between(1, back);
  const int mean = std::max(1, key.meanLines);
  m.bodyLines = std::max(1, rng.Between(mean - mean / 2, mean + mean / 2));
  m.when = MessageTime(key.seed, key.room, key.index, key.start);
  return m;
}

std::string HeaderText(HeaderTemplate t, int number, std::uint64_t seed) {
  MessageKey key;
  key.seed = seed;
  key.index = number - 1;
  key.number = number;
  key.start = DefaultStart(seed, 1);
  return FormatHeader(t, MakeMessageFields(key));
}

}  // namespace samplegen
