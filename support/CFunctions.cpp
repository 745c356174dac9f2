#include "CFunctions.h"

#include <algorithm>
#include <string>

#include "UIntText.h"
#include "xdfUtils.h"

namespace {

template <class T>
T* TargetOf(const TScanTarget& target, const TConversion& conv) {
  if (T* const* ref = std::get_if<T*>(&target.Ref)) return *ref;
  throw EScanTargetError("ScanFormat: the target of " + conv.Token + " has the wrong type");
}

// Stores a 32-bit value into a signed or unsigned 32-bit target.
void Store32(const TScanTarget& target, const TConversion& conv, int32_t value) {
  if (int32_t* const* s = std::get_if<int32_t*>(&target.Ref))
    **s = value;
  else
    *TargetOf<uint32_t>(target, conv) = static_cast<uint32_t>(value);
}

void StoreField(const TConversion& conv, const std::string& text, const TScanTarget& target) {
  int32_t i32 = 0;
  int64_t i64 = 0;
  switch (conv.Kind) {
    case TFieldKind::Character: {
      const std::span<char>* chars = std::get_if<std::span<char>>(&target.Ref);
      if (!chars) throw EScanTargetError("ScanFormat: the target of " + conv.Token + " has the wrong type");
      // Never past the caller's array, whatever width the format asks for.
      std::copy_n(text.begin(), std::min(text.size(), chars->size()), chars->begin());
      break;
    }
    case TFieldKind::String:
      if (TShortString* const* s = std::get_if<TShortString*>(&target.Ref)) {
        const size_t n = std::min<size_t>(text.size(), 255);
        (*s)->Length = static_cast<uint8_t>(n);
        std::copy_n(text.begin(), n, (*s)->Chars.begin());
      } else {
        *TargetOf<std::string>(target, conv) = text;
      }
      break;
    case TFieldKind::Integer:
    case TFieldKind::Pointer:
      TryStrToInt32(text, i32);
      Store32(target, conv, i32);
      break;
    case TFieldKind::Hex:
      TryStrToInt32(NormaliseHex(text), i32);
      Store32(target, conv, i32);
      break;
    case TFieldKind::ShortInt:
      TryStrToInt32(text, i32);
      *TargetOf<int16_t>(target, conv) = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(i32)));
      break;
    case TFieldKind::LongInt:
      TryStrToInt64(text, i64);
      *TargetOf<int64_t>(target, conv) = i64;
      break;
    case TFieldKind::Unsigned:
      TryStrToInt64(text, i64);
      Store32(target, conv, static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(i64))));
      break;
    case TFieldKind::Money:
      TryTextToCurrency(text, i64);
      *TargetOf<int64_t>(target, conv) = i64;
      break;
    case TFieldKind::Floating: {
      long double f = 0;
      TryTextToFloat(text, f);
      *TargetOf<long double>(target, conv) = f;
      break;
    }
    case TFieldKind::Literal:
    case TFieldKind::WhiteSpace: break;
  }
}

}  // namespace

int ScanFormat(std::string_view input, std::string_view format, std::span<const TScanTarget> targets) {
  size_t formatPos = 0;
  size_t inputPos = 0;
  size_t count = 0;
  while (formatPos < format.size()) {
    TConversion conv;
    try {
      conv = ParseConversion(NextFormatToken(format, formatPos));
    } catch (const EBadFormat&) {
      break;  // a broken format ends the scan; the caller sees only the count
    }
    const TScannedField field = ScanField(conv, input, inputPos);
    if (conv.Kind == TFieldKind::Literal && field.Text != conv.Token) break;
    if (field.EndOfInput) continue;
    if (!CheckField(conv, field.Text)) break;
    if (!conv.Store) continue;
    if (count == targets.size()) throw EScanFormatError(InsufficientPointersText);
    StoreField(conv, field.Text, targets[count]);
    ++count;
  }
  return static_cast<int>(count);
}
