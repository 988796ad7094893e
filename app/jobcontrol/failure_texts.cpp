// SPDX-License-Identifier: GPL-3.0-or-later
#include "failure_texts.h"

#include <QCoreApplication>

#include <string_view>

#include "failure_reason.h"

namespace velmora {

namespace {

struct ReasonText {
    FailureCode code;
    const char* text;
};

// The codes the tools write, each with the window's own words (translated
// in the context "FailureReason"); FailureCode::Other keeps the list's own,
// which name the system's error.
constexpr ReasonText kReasonTexts[] = {
    {FailureCode::NoNumber, QT_TRANSLATE_NOOP("FailureReason", "nama tidak berakhir dengan angka")},
    {FailureCode::NulInPath, QT_TRANSLATE_NOOP("FailureReason", "path berisi byte NUL")},
    {FailureCode::NotRegularFile, QT_TRANSLATE_NOOP("FailureReason", "bukan file biasa")},
    {FailureCode::Missing, QT_TRANSLATE_NOOP("FailureReason", "foto sudah tidak ada di tempatnya")},
    {FailureCode::Changed, QT_TRANSLATE_NOOP("FailureReason", "foto berubah saat disalin")},
    {FailureCode::CopyMismatch,
     QT_TRANSLATE_NOOP("FailureReason", "salinan tidak sama dengan fotonya")},
    {FailureCode::DiskFull, QT_TRANSLATE_NOOP("FailureReason", "disk penuh")},
    {FailureCode::IoError,
     QT_TRANSLATE_NOOP("FailureReason", "kesalahan baca/tulis: media mungkin rusak")},
    {FailureCode::MediumGone,
     QT_TRANSLATE_NOOP("FailureReason", "kartu atau drive sudah tidak terpasang")},
    {FailureCode::ReadOnly, QT_TRANSLATE_NOOP("FailureReason", "media hanya bisa dibaca")},
    {FailureCode::Permission, QT_TRANSLATE_NOOP("FailureReason", "akses ditolak")},
    {FailureCode::NameRefused,
     QT_TRANSLATE_NOOP("FailureReason", "nama ini tidak diterima sistem file")},
    {FailureCode::NameTooLong,
     QT_TRANSLATE_NOOP("FailureReason", "nama terlalu panjang untuk sistem file")},
    {FailureCode::FolderIsLink, QT_TRANSLATE_NOOP("FailureReason", "folder tujuan adalah tautan")},
    {FailureCode::FolderNotFolder,
     QT_TRANSLATE_NOOP("FailureReason", "folder tujuan bukan folder")},
    {FailureCode::NoEncoder,
     QT_TRANSLATE_NOOP("FailureReason", "tidak ada alat kompresi di komputer ini")},
    {FailureCode::EncoderFailed, QT_TRANSLATE_NOOP("FailureReason", "kompresi gagal")},
    {FailureCode::NotAnImage,
     QT_TRANSLATE_NOOP("FailureReason", "bukan gambar yang terbaca; disalin tanpa kompresi")},
    {FailureCode::OutOfMemory, QT_TRANSLATE_NOOP("FailureReason", "memori tidak cukup")},
};

}  // namespace

QString failureReasonText(const QString& code, const QString& words) {
    for (const ReasonText& reason : kReasonTexts) {
        const std::string_view name = failureCodeName(reason.code);
        if (code == QLatin1String(name.data(), static_cast<qsizetype>(name.size()))) {
            return QCoreApplication::translate("FailureReason", reason.text);
        }
    }
    return words;
}

}  // namespace velmora
