#include "tools/samplegen/text_pool.h"

#include "platform/encoding.h"

namespace samplegen {

namespace {

// Full-width text only: see TextPool. A few characters CP932 has beyond plain
// Shift-JIS (①, ～, ㈱, 髙) are among them on purpose.
const char* const kPhrases[] = {
    "こんにちは、",
    "皆さんお元気ですか。",
    "先日の件ですが、",
    "私もそう思います。",
    "ちょっと気になったのですが、",
    "以前から使っていますが、",
    "結論から言うと、",
    "なかなか難しいところです。",
    "よろしくお願いします。",
    "ありがとうございました。",
    "昨日の夜に試してみました。",
    "手元の環境では動きました。",
    "説明書には書いてありません。",
    "もう少し調べてみます。",
    "どなたかご存知の方はいらっしゃいますか？",
    "それは初耳です！",
    "設定を変えたら直りました。",
    "通信速度が遅くて困っています。",
    "モデムを買い替えました。",
    "今度のオフ会には参加します。",
    "会場は駅前の喫茶店です。",
    "時間は午後七時からです。",
    "①番の方法を試してください。",
    "料金は月額千円～二千円です。",
    "㈱の表記に注意。",
    "髙橋さんの書き込みを読みました。",
    "ログの整理は大切ですね。",
    "古い発言は書庫に移しました。",
    "電話代が心配です。",
    "夜中のアクセスが多いようです。",
    "新しい会議室ができました。",
    "雑談はこちらでどうぞ。",
    "質問の前に過去ログを見てください。",
    "確かにその通りです。",
    "少し話がそれますが、",
    "参考になれば幸いです。",
    "続きはまた今度書きます。",
    "ところで、",
    "なるほど、",
    "では失礼します。",
    "春になりましたね。",
    "梅雨入りしたそうです。",
    "花火大会の写真を載せました。",
    "紅葉がきれいでした。",
    "雪で電車が止まりました。",
};

const char* const kAuthors[] = {
    "山田　太郎", "佐藤花子", "鈴木一郎", "たなか", "ＫＯＢＡ",   "渡辺　健",   "伊藤さくら", "中村",
    "小林ゆうこ", "加藤　誠", "吉田　修", "山本",   "松本みどり", "井上ひろし", "木村",       "髙橋　洋",
};

const char* const kSubjects[] = {
    "はじめまして",     "Ｒｅ：はじめまして",
    "質問です",         "Ｒｅ：質問です",
    "オフ会のお知らせ", "Ｒｅ：オフ会のお知らせ",
    "モデムの設定",     "通信ソフトについて",
    "近況報告",         "雑談",
    "ログの整理",       "Ｒｅ：ログの整理",
    "新会議室のご案内", "お礼",
    "週末の予定",       "Ｒｅ：週末の予定",
    "困っています",     "解決しました",
    "①について",        "お久しぶりです",
    "今日の出来事",     "Ｒｅ：今日の出来事",
    "パソコン購入相談", "春の旅行",
};

const char* const kRoomNames[] = {
    "雑談会議室",   "初心者質問室",   "通信ソフトの部屋", "ハードウェア談義", "オフ会案内",
    "旅と写真",     "読書の部屋",     "音楽の部屋",       "スポーツ談話室",   "料理と食べ歩き",
    "ゲームの部屋", "プログラミング", "お知らせ",         "自己紹介",         "フリートーク",
    "映画の部屋",   "ペットの部屋",   "鉄道の部屋",       "天気と暮らし",     "運営室",
};

const char* const kForumTitles[] = {
    "パソコン通信フォーラム", "趣味と生活フォーラム", "ソフトウェアフォーラム",
    "旅行フォーラム",         "音楽フォーラム",       "地域情報フォーラム",
};

template <std::size_t N>
std::vector<std::string> ToCp932(const char* const (&texts)[N]) {
  std::vector<std::string> out;
  out.reserve(N);
  for (const char* t : texts) out.push_back(plat::Utf8ToCp932(t));
  return out;
}

}  // namespace

const TextPool& TextPool::Get() {
  static const TextPool pool;
  return pool;
}

TextPool::TextPool()
    : authors_(ToCp932(kAuthors)),
      subjects_(ToCp932(kSubjects)),
      roomNames_(ToCp932(kRoomNames)),
      forumTitles_(ToCp932(kForumTitles)),
      phrases_(ToCp932(kPhrases)) {
  // The pool of lines is fixed (not seeded): a seed picks among them.
  Prng rng(0x4B4956);
  bodyLines_.reserve(kBodyLines);
  double total = 0;
  for (std::uint32_t i = 0; i < kBodyLines; ++i) {
    std::string line;
    const std::size_t want = 40 + rng.Below(37);
    while (line.size() < want) line += phrases_[rng.Below(static_cast<std::uint32_t>(phrases_.size()))];
    // Cut back to at most 76 bytes on a character boundary (all characters
    // are two bytes).
    if (line.size() > 76) line.resize(76);
    total += static_cast<double>(line.size());
    bodyLines_.push_back(std::move(line));
  }
  meanBodyLine_ = total / kBodyLines;
}

std::string TextPool::QuoteLine(Prng& rng) const { return "> " + BodyLine(rng); }

std::string TextPool::LongLine(Prng& rng, std::size_t bytes) const {
  std::string line;
  line.reserve(bytes + 80);
  while (line.size() < bytes) line += BodyLine(rng);
  line.resize(bytes & ~static_cast<std::size_t>(1));
  if (line.size() < bytes) line += 'X';
  return line;
}

}  // namespace samplegen
