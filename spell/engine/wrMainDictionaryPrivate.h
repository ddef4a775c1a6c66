// What the units of TMainDictionary (wrMainDictionary*.cpp) share: the node reads, inline
// because the walks keep them in registers, and the layout of the phonetic codes side file.
#pragma once

#include "wrMainDictionary.h"

#include <QtEndian>

// The layout check of Load guarantees that every class region lies before the linkage block,
// so an index below the total node count always addresses bytes inside the mapping.
inline bool TMainDictionary::GetNode(quint32 index, TNode &node) const
{
  if (index >= FNodeIndexStart[NodeClasses])
    return false;
  // The class counted rather than searched: the classes of the nodes a walk visits mix
  // unpredictably.
  int k = 0;
  for (int j = 1; j < NodeClasses; ++j)
    k += index >= FNodeIndexStart[j] ? 1 : 0;
  const uchar *p = FNodes[k] + (index - FNodeIndexStart[k]) * quint64(4 + k);
  node.value = qFromLittleEndian<quint32>(p);
  node.packed = p + 4;
  node.k = k;
  return true;
}

inline bool TMainDictionary::ReadLinkage(quint32 &position, quint32 &index) const
{
  const quint64 pos = position;
  if (!FWideLinkage) {
    if (pos + 2 > FLinkageSize)
      return false;
    index = qFromLittleEndian<quint16>(FPLinkage + pos);
    position += 2;
    return true;
  }
  if (pos + 2 > FLinkageSize)
    return false;
  const uchar b0 = FPLinkage[pos];
  if (b0 & 0x80) {
    index = (quint32(b0 & 0x7F) << 8) | FPLinkage[pos + 1];
    position += 2;
    return true;
  }
  if (pos + 3 > FLinkageSize)
    return false;
  index = (quint32(b0) << 16) | (quint32(FPLinkage[pos + 1]) << 8) | FPLinkage[pos + 2];
  position += 3;
  return true;
}

inline bool TMainDictionary::CountVisit()
{
  if (FWalkVisits >= FWalkBudget)
    return false;
  ++FWalkVisits;
  return true;
}

template <class F>
void TMainDictionary::ForEachChild(const TChildren &children, F &&visit) const
{
  if (children.direct) {
    visit(children.ref);
    return;
  }
  quint32 linkage = children.ref;
  for (quint32 i = 0; i < children.number; ++i) {
    quint32 child;
    if (!ReadLinkage(linkage, child))
      break;
    visit(child);
  }
}

namespace wrMainDictionaryPrivate {

// The phonetic codes side file (see CodeFileImage).
// Version 02 keys the codes by word ordinal (01, by node, cannot serve shared nodes).
constexpr char CodeFileMagic[8] = {'W', 'D', 'P', 'H', 'O', 'N', '0', '2'};
constexpr int CodeHeaderSize = 8 + 8 + 8 + 4;
constexpr int CodeKeySize = 40;
constexpr uchar NoCode = 255;
// Codes are kept for the first 2^23 words in walk order (32 MB of references per map at most).
constexpr quint64 CodeWordLimit = quint64(1) << 23;
// Larger side files are not read: four maps of a dictionary of a million words fit easily.
constexpr qint64 CodeFileLimit = qint64(256) << 20;

} // namespace wrMainDictionaryPrivate
