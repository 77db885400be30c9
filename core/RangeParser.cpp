#include "core/RangeParser.h"

#include <boost/regex.hpp>
#include <boost/tokenizer.hpp>
#include <algorithm>
#include <charconv>
#include <utility>

#include "core/EchoedText.h"

namespace ferrox {
namespace {

using quillet::Spec;

// The bracket expressions admit "|" too; such a rank is rejected when converted.
const boost::wregex& PercentForm() {
  static const boost::wregex re(L"([0-9]{1,3}.?[0-9]{0,2})%", boost::regex::perl);
  return re;
}
const boost::wregex& ClassForm() {
  static const boost::wregex re(L"([AKQJTakqjt|6-9])([AKQJTakqjt|6-9])([s|o])?(\\+)?",
                                boost::regex::perl);
  return re;
}
const boost::wregex& SpanForm() {
  static const boost::wregex re(
      L"([AKQJTakqjt|6-9])([AKQJTakqjt|6-9])([s|o])?(-)([AKQJTakqjt|6-9])([AKQJTakqjt|6-9])"
      L"([s|o])?",
      boost::regex::perl);
  return re;
}
const boost::wregex& ExactForm() {
  static const boost::wregex re(L"([AKQJTakqjt|6-9])([s|h|c|d])([AKQJTakqjt|6-9])([s|h|c|d])",
                                boost::regex::perl);
  return re;
}

int RankOf(const boost::wssub_match& group) {
  const std::wstring s = group.str();
  return s.size() == 1 ? quillet::GetCardRankByName(s[0]) : -1;
}

struct Suitedness {
  bool suited = false;
  bool offsuit = false;
  bool both() const { return !suited && !offsuit; }
};

Suitedness SuitednessOf(const boost::wssub_match& group) {
  const std::wstring s = group.matched ? group.str() : std::wstring();
  return {s == L"s", s == L"o"};
}

void AddKind(Spec& spec, int high, int low, const Suitedness& s) {
  if (s.suited || s.both()) spec.AddSuit(high, low);
  if (s.offsuit || s.both()) spec.AddNonSuit(high, low);
}

// Returns false when the whole text must be rejected.
bool ApplyClassForm(const boost::wsmatch& m, Spec& spec) {
  int high = RankOf(m[1]), low = RankOf(m[2]);
  if (high < 0 || low < 0) return false;
  if (high < low) std::swap(high, low);
  const Suitedness s = SuitednessOf(m[3]);
  if (high == low) spec.AddPair(high);
  else AddKind(spec, high, low, s);
  if (m[4].matched) {
    if (high == low) {
      for (int k = high + 1; k <= quillet::kAceRank; ++k) spec.AddPair(k);
    } else {
      for (int k = low + 1; k < high; ++k) AddKind(spec, high, k, s);
    }
  }
  return true;
}

bool ApplySpanForm(const boost::wsmatch& m, Spec& spec) {
  int r1 = RankOf(m[1]), r2 = RankOf(m[2]), r3 = RankOf(m[5]), r4 = RankOf(m[6]);
  if (r1 < 0 || r2 < 0 || r3 < 0 || r4 < 0) return false;
  if (r1 < r2) std::swap(r1, r2);
  if (r3 < r4) std::swap(r3, r4);
  const Suitedness s1 = SuitednessOf(m[3]), s2 = SuitednessOf(m[7]);
  if (r1 == r3) {
    if (s1.suited != s2.suited || s1.offsuit != s2.offsuit) return false;
    if (r2 < r4) std::swap(r2, r4);
    for (int k = r4; k <= r2; ++k) AddKind(spec, r1, k, s1);
    return true;
  }
  if (r1 != r2 || r3 != r4) return false;
  for (int k = std::min(r1, r3); k <= std::max(r1, r3); ++k) spec.AddPair(k);
  return true;
}

void ApplyExactForm(const boost::wsmatch& m, Spec& spec) {
  const quillet::CCard card1(m[1].str(), m[2].str()), card2(m[3].str(), m[4].str());
  spec.AddCard(card1, card2);
}

// The C library's reading of a number: as much of the text as makes a number.
double ReadNumber(const std::wstring& digits) {
  std::string narrow;
  for (wchar_t c : digits) narrow += c < 128 ? static_cast<char>(c) : '?';
  double value = 0;
  std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
  return value;
}

// Notes a token the notation does not know; returns result.
int NotUnderstood(const std::wstring& token, std::vector<std::wstring>* list, int result) {
  if (list) list->push_back(token);
  return result;
}

}  // namespace

const Spec& RangeParser::Ordering() const {
  return rules_ == quillet::kRulesStraightBeatsSet ? orderings_->straightBeatsSet : orderings_->standard;
}

void RangeParser::ResolvePercent(double percent, Spec& spec, std::wstring& outText) const {
  Ordering().GetSpecByPercent(percent, spec);
  outText = spec.MakeString6Plus();
}

bool RangeParser::IsPercentRange(const std::wstring& text) {
  return boost::regex_match(text, PercentForm());
}

std::wstring RangeParser::OrderingRefusal(const std::wstring& text) const {
  if (OrderingLoaded() || !IsPercentRange(text)) return {};
  const bool straight = rules_ == quillet::kRulesStraightBeatsSet;
  const std::filesystem::path& file = Ordering().GetFile();
  const std::wstring& problem = straight ? orderings_->straightBeatsSetProblem : orderings_->standardProblem;
  const std::wstring rules = straight ? L"the straight-beats-set rules" : L"the 6+ rules";
  if (file.empty()) return QuotedInput(text) + L" is cut from an ordering, and none is loaded for " + rules;
  return QuotedInput(text) + L" is cut from the ordering file " + EscapedText(file.wstring()) +
         L", which did not load: " + (problem.empty() ? L"it is no ordering of the 81 hand classes" : problem);
}

int RangeParser::ParseRange(const std::wstring& text, Spec& spec,
                            std::vector<std::wstring>* notUnderstood) const {
  spec.clear();
  std::wstring scratch;
  if (!text.empty() && (text[0] == L't' || text[0] == L'h')) return kParseHeatmap;
  if (!text.empty() && text[0] == L'r') {
    // Every hand, whatever the ordering holds.
    for (const quillet::HandClass& hc : quillet::AllClassesInMatrixOrder()) spec.AddClass(hc);
    return kParseOk;
  }
  boost::wsmatch m;
  if (boost::regex_match(text, m, PercentForm())) {
    if (!OrderingLoaded()) return NotUnderstood(text, notUnderstood, kParseRejected);
    std::wstring number = m[1].str();
    std::replace(number.begin(), number.end(), L',', L'.');
    ResolvePercent(ReadNumber(number), spec, scratch);
    return kParseOk;
  }

  using Tokenizer = boost::tokenizer<boost::char_separator<wchar_t>, std::wstring::const_iterator,
                                     std::wstring>;
  const Tokenizer tokens(text, boost::char_separator<wchar_t>(L" ,"));
  int result = kParseRejected;
  for (const std::wstring& token : tokens) {
    if (boost::regex_match(token, m, ClassForm())) {
      if (!ApplyClassForm(m, spec)) return NotUnderstood(token, notUnderstood, kParseRejected);
    } else if (boost::regex_match(token, m, SpanForm())) {
      if (!ApplySpanForm(m, spec)) return NotUnderstood(token, notUnderstood, kParseRejected);
    } else if (boost::regex_match(token, m, ExactForm())) {
      ApplyExactForm(m, spec);
    } else {
      NotUnderstood(token, notUnderstood, result);
      continue;  // unknown tokens are skipped
    }
    result = kParseOk;
  }
  return result;
}

}  // namespace ferrox
