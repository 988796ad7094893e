// SPDX-License-Identifier: GPL-3.0-or-later
#include "failure_texts.h"

#include <QCoreApplication>

#include <iterator>

namespace velmora {

namespace {

struct ReasonText {
    const char* code;
    const char* text;
};

// The codes the tools write, each with the window's own words (translated
// in the context "FailureReason").
constexpr ReasonText kReasonTexts[] = {
    {"no-number", QT_TRANSLATE_NOOP("FailureReason", "nama tidak berakhir dengan angka")},
    {"nul-in-path", QT_TRANSLATE_NOOP("FailureReason", "path berisi byte NUL")},
    {"not-regular", QT_TRANSLATE_NOOP("FailureReason", "bukan file biasa")},
    {"missing", QT_TRANSLATE_NOOP("FailureReason", "foto sudah tidak ada di tempatnya")},
    {"changed", QT_TRANSLATE_NOOP("FailureReason", "foto berubah saat disalin")},
    {"copy-mismatch", QT_TRANSLATE_NOOP("FailureReason", "salinan tidak sama dengan fotonya")},
    {"disk-full", QT_TRANSLATE_NOOP("FailureReason", "disk penuh")},
    {"io-error", QT_TRANSLATE_NOOP("FailureReason", "kesalahan baca/tulis: media mungkin rusak")},
    {"medium-gone", QT_TRANSLATE_NOOP("FailureReason", "kartu atau drive sudah tidak terpasang")},
    {"read-only", QT_TRANSLATE_NOOP("FailureReason", "media hanya bisa dibaca")},
    {"permission", QT_TRANSLATE_NOOP("FailureReason", "akses ditolak")},
    {"name-refused", QT_TRANSLATE_NOOP("FailureReason", "nama ini tidak diterima sistem file")},
    {"name-too-long", QT_TRANSLATE_NOOP("FailureReason", "nama terlalu panjang untuk sistem file")},
    {"folder-link", QT_TRANSLATE_NOOP("FailureReason", "folder tujuan adalah tautan")},
    {"folder-not-folder", QT_TRANSLATE_NOOP("FailureReason", "folder tujuan bukan folder")},
    {"no-encoder", QT_TRANSLATE_NOOP("FailureReason", "tidak ada alat kompresi di komputer ini")},
    {"encoder-failed", QT_TRANSLATE_NOOP("FailureReason", "kompresi gagal")},
    {"not-image",
     QT_TRANSLATE_NOOP("FailureReason", "bukan gambar yang terbaca; disalin tanpa kompresi")},
    {"out-of-memory", QT_TRANSLATE_NOOP("FailureReason", "memori tidak cukup")},
};

}  // namespace

QString failureReasonText(const QString& code, const QString& words) {
    for (const ReasonText& reason : kReasonTexts) {
        if (code == QLatin1String(reason.code)) {
            return QCoreApplication::translate("FailureReason", reason.text);
        }
    }
    return words;
}

}  // namespace velmora
