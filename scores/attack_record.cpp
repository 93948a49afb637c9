#include "scores/attack_record.h"

#include "platform/local_time.h"

namespace {

// Real offsets lie between -12:00 and +14:00.
constexpr int kOffsetLimitMinutes = 18 * 60;

bool IsDigit(int value) {
  return value >= 0 && value <= 9;
}

std::optional<std::string> PressFault(const AnswerPress& press, uint32_t earlier_ms) {
  if (!IsDigit(press.left) || !IsDigit(press.right) || !IsDigit(press.typed))
    return "a press holds something other than a digit";
  if (press.ms_since_go > kPlayMs) return "a press lies after the end of play";
  if (press.ms_since_go < earlier_ms) return "a press lies before the one typed earlier";
  if (press.correct != ((press.left + press.right) % 10 == press.typed))
    return "a press is marked correct when it is not, or wrong when it is not";
  return std::nullopt;
}

}  // namespace

AttackRecord AttackStartingNow() {
  const std::tm now = LocalTimeNow();
  AttackRecord record;
  record.started = LocalDateTimeOf(now);
  record.utc_offset_minutes = static_cast<int>(UtcOffsetSeconds(now) / 60);
  return record;
}

void AddPress(AttackRecord& record, uint32_t ms_since_go, int left, int right, int typed) {
  const bool correct = (left + right) % 10 == typed;
  record.presses.push_back({ms_since_go, left, right, typed, correct});
  ++(correct ? record.score : record.wrong);
}

std::optional<std::string> RecordFault(const AttackRecord& record) {
  if (!IsRealDateTime(record.started)) return "its start is no real date and time";
  if (record.utc_offset_minutes < -kOffsetLimitMinutes ||
      record.utc_offset_minutes > kOffsetLimitMinutes)
    return "its offset from UTC is out of range";
  int correct = 0;
  uint32_t earlier_ms = 0;
  for (const AnswerPress& press : record.presses) {
    if (auto fault = PressFault(press, earlier_ms)) return fault;
    earlier_ms = press.ms_since_go;
    correct += press.correct ? 1 : 0;
  }
  const int wrong = static_cast<int>(record.presses.size()) - correct;
  if (record.score != correct || record.wrong != wrong)
    return "its score or wrong presses are not those of its presses";
  return std::nullopt;
}
