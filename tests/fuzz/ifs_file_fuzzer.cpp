// Fuzzes the .ifs reader: every input is read through a plain buffer and through a device that
// hands out a few bytes at a time.
//
// Checked: a refused file is an invalid format with one line saying where; a read file has
// entries whose names, map counts, refusals, maps and places in the file agree with one another;
// the delivery of the bytes changes nothing; each entry is found by its name; every drawable
// entry, written and read again, is one entry of the same name and the very same doubles; and an
// entry added to the file, in place of one of its name or after the rest, leaves a file that
// reads with every other byte and entry as it was.
#include <QBuffer>
#include <QByteArray>
#include <QIODevice>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "core/params/ifs_file.h"
#include "core/params/ifs_text.h"
#include "fuzz_check.h"
#include "trickle_device.h"

namespace {

using namespace quill;
using testing::TrickleDevice;

bool sameMaps(const std::vector<WeightedMap>& x, const std::vector<WeightedMap>& y) {
  return std::equal(
      x.begin(), x.end(), y.begin(), y.end(), [](const WeightedMap& m, const WeightedMap& n) {
        return m.map.a == n.map.a && m.map.b == n.map.b && m.map.c == n.map.c &&
               m.map.d == n.map.d && m.map.e == n.map.e && m.map.f == n.map.f && m.p == n.p;
      });
}

bool sameEntries(const Result<std::vector<IfsEntry>>& x, const Result<std::vector<IfsEntry>>& y) {
  if (x.ok() != y.ok() || x.message() != y.message()) return false;
  if (!x.ok()) return true;
  if (x->size() != y->size()) return false;
  for (std::size_t k = 0; k < x->size(); ++k) {
    const IfsEntry& e = (*x)[k];
    const IfsEntry& f = (*y)[k];
    if (e.name != f.name || e.mapCount != f.mapCount || e.threeD != f.threeD ||
        e.refusal != f.refusal || !sameMaps(e.maps, f.maps) || e.begin != f.begin || e.end != f.end)
      return false;
  }
  return true;
}

bool isWhereRefusal(const QString& message) {
  return message.startsWith(kInvalidFormatMessage + u'\n') && message.count(u'\n') == 1;
}

void checkEntry(const QByteArray& bytes, const std::vector<IfsEntry>& entries,
                const IfsEntry& entry) {
  FUZZ_CHECK(!entry.name.isEmpty());
  for (QChar c : {QChar(u' '), QChar(u'\t'), QChar(u'('), QChar(u';'), QChar(u'{'), QChar(u'}'),
                  QChar(u'\n'), QChar(u'\r'), QChar(0)})
    FUZZ_CHECK(!entry.name.contains(c));
  FUZZ_CHECK(entry.mapCount >= 0);
  FUZZ_CHECK(0 <= entry.begin && entry.begin < entry.end && entry.end <= bytes.size());
  FUZZ_CHECK(bytes[qsizetype(entry.end - 1)] == '}');
  if (!entry.name.contains(QChar::ReplacementCharacter))
    FUZZ_CHECK(bytes.sliced(qsizetype(entry.begin)).startsWith(entry.name.toUtf8()));
  const IfsEntry* found = findEntry(entries, entry.name);
  FUZZ_CHECK(found != nullptr && found <= &entry);
  FUZZ_CHECK(found->name.compare(entry.name, Qt::CaseInsensitive) == 0);

  if (entry.threeD) {
    FUZZ_CHECK(entry.refusal == kThreeDimensionalMessage);
  } else if (entry.mapCount > 10) {
    // Too many maps, unless the count of numbers is not a multiple of seven at all.
    FUZZ_CHECK(entry.refusal == tooManyMapsMessage(entry.mapCount) ||
               isWhereRefusal(entry.refusal));
  } else {
    FUZZ_CHECK(entry.refusal.isEmpty() || isWhereRefusal(entry.refusal));
  }
  if (!entry.refusal.isEmpty()) {
    FUZZ_CHECK(entry.maps.empty());
    return;
  }
  FUZZ_CHECK(entry.mapCount >= 1 && entry.mapCount <= 10);
  FUZZ_CHECK(entry.maps.size() == std::size_t(entry.mapCount));
  for (const WeightedMap& m : entry.maps) {
    for (double v : {m.map.a, m.map.b, m.map.c, m.map.d, m.map.e, m.map.f, m.p})
      FUZZ_CHECK(std::isfinite(v));
  }

  // Written and read again: the same name and the very same doubles.
  QBuffer written;
  written.setData(ifsText(entry.name, entry.maps));
  written.open(QIODevice::ReadOnly);
  const Result<std::vector<IfsEntry>> reread = readIfs(written);
  FUZZ_CHECK(reread.ok());
  FUZZ_CHECK(reread->size() == 1);
  FUZZ_CHECK(reread->front().name == entry.name);
  FUZZ_CHECK(reread->front().refusal.isEmpty());
  FUZZ_CHECK(sameMaps(reread->front().maps, entry.maps));
}

bool sameButWhere(const IfsEntry& e, const IfsEntry& f) {
  // Where-lines name lines, which an added entry of more lines moves.
  return e.name == f.name && e.mapCount == f.mapCount && e.threeD == f.threeD &&
         e.refusal.section(u'\n', 0, 0) == f.refusal.section(u'\n', 0, 0) &&
         sameMaps(e.maps, f.maps);
}

// Adds an entry named `name` to the file and checks what is kept.
void checkAdded(const QByteArray& bytes, const std::vector<IfsEntry>& entries,
                const QString& name) {
  const std::vector<WeightedMap> maps = {{{0.5, 0, 0, 0.5, 0, 0}, 0.5},
                                         {{0.5, 0, 0, 0.5, 0.5, 0}, 0.5}};
  const Result<QByteArray> added = addToCollection(bytes, name, maps);
  FUZZ_CHECK(added.ok());
  QBuffer buffer;
  buffer.setData(*added);
  buffer.open(QIODevice::ReadOnly);
  const Result<std::vector<IfsEntry>> reread = readIfs(buffer);
  FUZZ_CHECK(reread.ok());
  const IfsEntry* mine = findEntry(*reread, ifsEntryName(name));
  FUZZ_CHECK(mine != nullptr && mine->refusal.isEmpty() && sameMaps(mine->maps, maps));

  const IfsEntry* same = findEntry(entries, ifsEntryName(name));
  const std::size_t replaced =
      same != nullptr ? std::size_t(same - entries.data()) : entries.size();
  FUZZ_CHECK(reread->size() == entries.size() + (same != nullptr ? 0 : 1));
  FUZZ_CHECK(mine == &(*reread)[replaced]);
  for (std::size_t k = 0; k < entries.size(); ++k) {
    if (k != replaced) FUZZ_CHECK(sameButWhere(entries[k], (*reread)[k]));
  }
  // Every byte before the entry's place is kept, and so is every byte after a replaced one.
  const qsizetype begin = same != nullptr ? qsizetype(same->begin) : bytes.size();
  FUZZ_CHECK(added->startsWith(bytes.first(begin)));
  if (same != nullptr) FUZZ_CHECK(added->endsWith(bytes.sliced(qsizetype(same->end))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  const Result<std::vector<IfsEntry>> read = readIfs(buffer);

  TrickleDevice trickle(bytes, -1, true);  // a pipe: no size to refuse it by
  FUZZ_CHECK(sameEntries(readIfs(trickle), read));

  if (!read.ok()) {
    FUZZ_CHECK(isWhereRefusal(read.message()));  // no path, so never "not found"
    return 0;
  }
  FUZZ_CHECK(!read->empty());
  for (const IfsEntry& entry : *read) checkEntry(bytes, *read, entry);
  checkAdded(bytes, *read, read->front().name);
  checkAdded(bytes, *read, QStringLiteral("Quillmere fuzz"));
  return 0;
}
