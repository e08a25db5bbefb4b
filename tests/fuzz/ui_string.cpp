// Fuzz target: CUIString operations driven by the input, checked against a
// plain byte string doing the same, including operations whose argument
// points into the string itself (appending, assigning or formatting a part
// of its own text), which must behave as if the argument were a copy.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "tests/fuzz/support/FuzzInput.h"
#include "base/CodePage.h"
#include "base/UIString.h"

namespace {

// The model's text as a CUIString sees it: a text ends at its first zero.
std::string Visible(const std::string& s) { return std::string(s.c_str()); }

void CheckSame(const CUIString& s, const std::string& model) {
  FUZZ_CHECK(s.GetLength() == model.size());
  FUZZ_CHECK(memcmp(s.GetData(), model.data(), model.size()) == 0);
  FUZZ_CHECK(s.GetData()[s.GetLength()] == '\0');
}

bool IsBoundary(const std::string& s, size_t pos) {
  return vt::CharBoundaryAtOrBelow(s.data(), s.size(), pos) == pos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Input in(data, size);
  CUIString s;
  std::string model;
  for (int step = 0; step < 64 && in.remaining() > 0; ++step) {
    uint8_t op = in.Byte();
    size_t a = in.Byte();
    size_t b = in.Byte();
    switch (op % 16) {
      case 0: {  // append a text of the input
        std::string t = Visible(in.Until('\xFE'));
        s += t.c_str();
        model += t;
        break;
      }
      case 1: {  // assign a text of the input
        std::string t = in.Until('\xFE');
        s.Assign(t.data(), t.size());
        model = t;
        break;
      }
      case 2: {  // append part of itself
        if (a > model.size()) a = model.size();
        if (b > model.size() - a) b = model.size() - a;
        s.Append(s.GetData() + a, b);
        model += model.substr(a, b);
        break;
      }
      case 3: {  // assign part of itself
        if (a > model.size()) a = model.size();
        if (b > model.size() - a) b = model.size() - a;
        s.Assign(s.GetData() + a, b);
        model = model.substr(a, b);
        break;
      }
      case 4: {  // assign its own tail as a C text
        if (a > model.size()) a = model.size();
        s = s.GetData() + a;
        model = Visible(model.substr(a));
        break;
      }
      case 5: {  // format with its own text as an argument
        std::string pad(a, 'p');
        s.Format("%s[%s]%d", pad.c_str(), s.GetData(), static_cast<int>(b));
        model = pad + "[" + Visible(model) + "]" + std::to_string(b);
        break;
      }
      case 6: {  // append a formatted copy of itself
        if (model.size() > 4096) break;  // doubling: stay far below the length limit
        s.AppendFormat("%s|%zu", s.GetData(), a);
        model += Visible(model) + "|" + std::to_string(a);
        break;
      }
      case 7: {
        CUIString left = s.Left(a), mid = s.Mid(a, b), right = s.Right(b);
        CheckSame(left, model.substr(0, a));
        CheckSame(mid, a < model.size() ? model.substr(a, b) : std::string());
        CheckSame(right, model.substr(model.size() - (b < model.size() ? b : model.size())));
        break;
      }
      case 8: {  // find a character: the first match on a character boundary
        char ch = static_cast<char>(a & 0x7F);
        size_t found = s.Find(ch, b);
        if (found != CUIString::npos) {
          FUZZ_CHECK(found >= b && found < model.size() && model[found] == ch && IsBoundary(model, found));
        }
        for (size_t p = b; p < (found == CUIString::npos ? model.size() : found); ++p)
          FUZZ_CHECK(!(model[p] == ch && IsBoundary(model, p)));
        break;
      }
      case 9: {  // find a text
        std::string t = Visible(in.Until('\xFE'));
        size_t found = s.Find(t.c_str(), b);
        if (found != CUIString::npos && !t.empty())
          FUZZ_CHECK(found >= b && model.compare(found, t.size(), t) == 0 && IsBoundary(model, found));
        break;
      }
      case 10: {  // replace
        std::string from = Visible(in.Until('\xFE'));
        std::string to = Visible(in.Until('\xFE'));
        if (model.size() > 4096) break;
        size_t n = s.Replace(from.c_str(), to.c_str());
        if (from.empty() || n == 0) CheckSame(s, model);
        if (n > 0) FUZZ_CHECK(s.GetLength() + n * from.size() == model.size() + n * to.size());
        model.assign(s.GetData(), s.GetLength());
        break;
      }
      case 11: {
        s.MakeUpper();
        for (size_t p = 0; p < model.size(); p += vt::CharSize(model.data(), model.size(), p))
          if (model[p] >= 'a' && model[p] <= 'z') model[p] = static_cast<char>(model[p] - 32);
        break;
      }
      case 12: {
        CUIString copy(s);
        CUIString moved(static_cast<CUIString&&>(copy));
        CheckSame(moved, model);
        s = moved;
        s = static_cast<CUIString&&>(moved);
        break;
      }
      case 13: {  // compare
        std::string t = Visible(in.Until('\xFE'));
        int c = s.Compare(t.c_str());
        int m = strcmp(model.c_str(), t.c_str());
        FUZZ_CHECK((c < 0) == (m < 0) && (c > 0) == (m > 0));
        s.CompareNoCase(t.c_str());
        break;
      }
      case 14:
        s += static_cast<char>(a);  // a zero byte too: it is appended like any other
        model += static_cast<char>(a);
        break;
      default:
        s.Empty();
        model.clear();
        break;
    }
    CheckSame(s, model);
    FUZZ_CHECK(s.GetLength() <= CUIString::kMaxLength);
  }
  return 0;
}
