// The local report page: one self-contained HTML file made from a result
// record, in Chinese, printable on A4. It names no outside resource (no
// script, style sheet, font or image is fetched; its content security
// policy forbids any), so it opens on a PC without a network. Every text
// of the record is escaped: the user's information, hop addresses and
// platform replies are outside input.
#pragma once

#include <string>

#include "base/CodePage.h"
#include "model/ResultRecord.h"

namespace vt {

// recordFileName: the name of the JSON file saved beside the page (shown
// in the page's footer; may be empty).
std::string ReportPageHtml(const ResultRecord& record, DoubleByteDecoder decode,
                           const std::string& recordFileName);

// The texts of the page's headline for a record, in UTF-8: the badge
// ("达标", "未达标", "未提交", "未导出") and the sentence under it.
std::string VerdictBadge(const ResultRecord& record);
std::string VerdictSentence(const ResultRecord& record);

}  // namespace vt
