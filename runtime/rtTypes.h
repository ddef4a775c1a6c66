#pragma once
// Vocabulary types every layer shares: flag sets over an enumeration and the plain notify event.
//
// TSet: bit n of the mask stands for the value with ordinal n, so a set can be stored and compared
// as an integer (spell options are stored as a 16-bit mask). The bitwise operators are there as
// well as the Pascal-style ones because callers build sets from single values ("Bold | Italic")
// and test membership with "&"; a set compares equal to a plain unsigned mask (0u: empty), and
// a literal 0 is the empty set.

#include <QtGlobal>
#include <concepts>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <type_traits>

class QObject;

// A set of enumeration values; the bit of a value is its ordinal.
template <typename E, typename Bits = quint32>
class TSet {
  static_assert(std::is_enum_v<E>);
  static_assert(std::is_unsigned_v<Bits>);

public:
  using Enum = E;
  using MaskType = Bits;

  constexpr TSet() = default;
  // A literal 0 is the empty set, as in a stored mask; no other number converts.
  constexpr TSet(std::nullptr_t) {}
  constexpr TSet(E value) : FBits(Bit(value)) {}
  constexpr TSet(std::initializer_list<E> values)
  {
    for (E v : values)
      FBits |= Bit(v);
  }
  static constexpr TSet FromMask(Bits mask)
  {
    TSet s;
    s.FBits = mask;
    return s;
  }
  // Every value from First to Last (ordinals), both included.
  static constexpr TSet Range(E First, E Last)
  {
    TSet s;
    for (auto i = static_cast<unsigned>(First); i <= static_cast<unsigned>(Last); ++i)
      s.FBits |= Bits(Bits(1) << i);
    return s;
  }

  constexpr Bits Mask() const { return FBits; }
  constexpr bool Contains(E value) const { return (FBits & Bit(value)) != 0; }
  constexpr bool IsEmpty() const { return FBits == 0; }
  constexpr explicit operator bool() const { return FBits != 0; }
  constexpr TSet &Include(E value)
  {
    FBits |= Bit(value);
    return *this;
  }
  constexpr TSet &Exclude(E value)
  {
    FBits &= Bits(~Bit(value));
    return *this;
  }
  constexpr void Set(E value, bool on) { on ? Include(value) : Exclude(value); }

  friend constexpr TSet operator+(TSet a, TSet b) { return FromMask(a.FBits | b.FBits); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromMask(Bits(a.FBits & ~b.FBits)); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromMask(a.FBits & b.FBits); }
  friend constexpr TSet operator|(TSet a, TSet b) { return a + b; }
  friend constexpr TSet operator&(TSet a, TSet b) { return a * b; }
  friend constexpr TSet operator~(TSet a) { return FromMask(Bits(~a.FBits)); }
  constexpr TSet &operator+=(TSet b) { return *this = *this + b; }
  constexpr TSet &operator-=(TSet b) { return *this = *this - b; }
  constexpr TSet &operator|=(TSet b) { return *this = *this + b; }
  constexpr TSet &operator&=(TSet b) { return *this = *this * b; }
  friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }
  friend constexpr bool operator!=(TSet a, TSet b) { return a.FBits != b.FBits; }
  // A plain unsigned mask, never an enumeration value: "set == value" would compare the mask
  // with the ordinal.
  template <std::unsigned_integral I>
  friend constexpr bool operator==(TSet a, I mask)
  {
    return a.FBits == mask;
  }

private:
  static constexpr Bits Bit(E value) { return Bits(Bits(1) << static_cast<unsigned>(value)); }
  Bits FBits = 0;
};

// A handler bound to its object (the lambda captures it); Sender is the notifying component.
using TNotifyEvent = std::function<void(QObject *Sender)>;
