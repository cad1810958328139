// KtRegWarning: texts of the out-of-range and not-yet-created register warnings.
#include "KtRegWarning.h"
#include "KtMessageBox.h"
#include "KtString.h"

void KtRegWarning::outOfRange(const char* caption, int index, int count)
{
    KtString text("指定されたインデックス");
    text.appendInt(index, 10);
    text.append("は\n本レジスタの範囲 0 ～ ");
    text.appendInt(count - 1, 10);
    text.append("を越えています。\n０番インデックスが指定されたと仮定して処理を継続します。");
    KtMessageBox::show(nullptr, text.text(), caption, KtMessageBox::notice);
}

void KtRegWarning::notCreated(const char* caption)
{
    KtMessageBox::show(nullptr,
                       "レジスタ領域は、まだ create されていません\n"
                       "代入時の悪影響をさけるため、１つの要素を持った領域を作成して\n"
                       "処理を継続します。",
                       caption, KtMessageBox::notice);
}
