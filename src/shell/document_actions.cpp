// The window's side of documents and pictures; see the header.
#include "shell/document_actions.h"

#include <QBuffer>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QRegularExpression>
#include <QTimer>
#include <QUrl>

#include "formats/byte_sink.h"
#include "formats/document_names.h"
#include "formats/picture_file.h"
#include "graph/recompute.h"
#include "platform/picture.h"
#include "platform/platform_texts.h"
#include "platform/qt_boundary.h"
#include "session/commands.h"
#include "shell/window_texts.h"

namespace kv {

namespace {

// A formula dialog that does not go away is not waited for without end.
constexpr int kMaxOpenRetries = 50;
constexpr int kOpenRetryMs = 20;

// The toolkit's dialog speaks English unless a translation is installed.
// Set after the modes, which put back the toolkit's own button texts.
void set_german_texts(QFileDialog& dialog, const char* accept) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setLabelText(QFileDialog::LookIn, ui_text(window_text::kLookIn));
  dialog.setLabelText(QFileDialog::FileName, ui_text(window_text::kFileName));
  dialog.setLabelText(QFileDialog::FileType, ui_text(window_text::kFileType));
  dialog.setLabelText(QFileDialog::Accept, ui_text(accept));
  dialog.setLabelText(QFileDialog::Reject, ui_text(kCancelButton));
}

// "*.gif" of "GIF - ... (*.gif)"; "" for the filter of all files.
QString filter_suffix(const QString& filter) {
  static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)\\)$"));
  const QRegularExpressionMatch m = pattern.match(filter);
  return m.hasMatch() ? m.captured(1) : QString();
}

bool write_bytes(const std::string& path, const QByteArray& bytes) {
  if (bytes.isEmpty()) return false;
  return write_file_replacing(path, [&](ByteSink& sink) {
    return sink.write(bytes.constData(), static_cast<size_t>(bytes.size()));
  });
}

}  // namespace

DocumentActions::DocumentActions(ShellState& state, ShellHost& host, QWidget* owner,
                                 std::function<QImage()> shown_picture,
                                 std::function<void(const std::string&)> rerun_open)
    : state_(state),
      host_(host),
      owner_(owner),
      shown_picture_(std::move(shown_picture)),
      rerun_open_(std::move(rerun_open)) {}

bool DocumentActions::handles(Command id) {
  return id == Command::Open || id == Command::Save || id == Command::SaveAs ||
         id == Command::SavePicture;
}

bool DocumentActions::run(Command id, const std::string& path) {
  switch (id) {
    case Command::Open: return open(path);
    case Command::Save: return save_document(state_, host_, *this, false);
    case Command::SaveAs: return save_document(state_, host_, *this, true);
    case Command::SavePicture: return save_picture();
    default: return false;
  }
}

MessageResult DocumentActions::ask_to_save_all() {
  return kv::ask_to_save_all(state_, host_, *this);
}

bool DocumentActions::open(const std::string& path) {
  // A document handed over by another instance may arrive while a formula
  // dialog edits a panel: that dialog ends first, and the open runs once it
  // has returned.
  if (state_.formula_dialog_open) {
    end_modal_dialogs();
    if (open_retries_++ < kMaxOpenRetries)
      QTimer::singleShot(kOpenRetryMs, owner_, [this, path] { rerun_open_(path); });
    return false;
  }
  open_retries_ = 0;
  // A name from the command line may be relative to the folder the program
  // was started in; the panel keeps it whole, as the folder for the dialogs
  // and the next run.
  const std::string whole =
      path.empty() ? path : local_path(QFileInfo(file_name(path)).absoluteFilePath());
  if (!open_document(state_, host_, *this, whole)) return false;
  if (!path.empty()) host_.bring_to_foreground();  // dropped, handed over or named at start
  return true;
}

bool DocumentActions::ask_open_path(const std::string& start_folder, std::string& path) {
  QFileDialog dialog(owner_, ui_text(window_text::kOpenCaption), file_name(start_folder));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  set_german_texts(dialog, window_text::kOpenButton);
  dialog.setNameFilters(
      {ui_text(window_text::kDocumentFilter), ui_text(window_text::kAllFilesFilter)});
  dialog.setDefaultSuffix(QString::fromLatin1(kDocumentExtension));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  path = local_path(dialog.selectedFiles().first());
  return !path.empty();
}

bool DocumentActions::ask_save_path(const std::string& proposal, std::string& path) {
  return ask_save_name(
      ui_text(window_text::kSaveCaption),
      {ui_text(window_text::kDocumentFilter), ui_text(window_text::kAllFilesFilter)},
      file_name(proposal), [](const std::string& name) { return propose_document_path(name); },
      path);
}

bool DocumentActions::ask_save_name(const QString& caption, const QStringList& filters,
                                    const QString& proposal,
                                    const std::function<std::string(const std::string&)>& complete,
                                    std::string& path) {
  const QFileInfo proposed(proposal);
  QFileDialog dialog(owner_, caption, proposed.path());
  // The question comes below, for the name that is really written.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  set_german_texts(dialog, window_text::kSaveButton);
  dialog.setNameFilters(filters);
  const QString first_suffix = filter_suffix(filters.first());
  dialog.setDefaultSuffix(first_suffix);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString& filter) {
    const QString suffix = filter_suffix(filter);
    dialog.setDefaultSuffix(suffix.isEmpty() ? first_suffix : suffix);
  });
  if (!proposed.fileName().isEmpty()) dialog.selectFile(proposed.fileName());
  for (;;) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    const std::string chosen = complete(local_path(dialog.selectedFiles().first()));
    if (chosen.empty()) return false;
    const QFileInfo target(file_name(chosen));
    if (target.exists()) {
      const QString question = ui_text(window_text::kReplaceQuestion).arg(target.fileName());
      if (host_.message_box(question.toStdString(), kCaption, MessageButtons::YesNo,
                            MessageIcon::Warning, nullptr) != MessageResult::Yes) {
        dialog.selectFile(target.fileName());
        continue;
      }
    }
    path = chosen;
    return true;
  }
}

bool DocumentActions::save_picture() {
  QStringList filters;
  for (const char* f : window_text::kPictureFilters) filters << ui_text(f);
  filters << ui_text(window_text::kAllFilesFilter);
  const std::string proposal =
      picture_path_.empty() ? document_dialog_folder(state_) + "/" : picture_path_;
  std::string path;
  if (!ask_save_name(
          ui_text(window_text::kPictureCaption), filters, file_name(proposal),
          [](const std::string& name) { return name; }, path))
    return false;
  if (!write_picture(path)) {
    host_.error_box(kDocumentSaveFailed);
    return false;
  }
  picture_path_ = path;
  return true;
}

bool DocumentActions::write_picture(const std::string& path) {
  PanelRecord& panel = state_.current();
  PanelPlot scratch;
  const PanelPlot& plot = finished_for_picture(panel, state_.current_plot(), scratch);
  const ColourTable& colours = state_.current_colours();
  const PictureKind kind = window_picture_kind(path);
  if (kind == PictureKind::Svg)
    return write_bytes(path, paint_graph_svg(panel, plot, colours, state_.layout));
  QImage image = shown_picture_ ? shown_picture_() : QImage();
  if (image.isNull()) return false;  // nothing shown, nothing to take
  if (image.devicePixelRatio() != 1.0 || &plot == &scratch)
    image = paint_graph_image(panel, plot, colours, state_.layout);
  if (image.isNull()) return false;
  if (kind == PictureKind::Png) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") && write_bytes(path, bytes);
  }
  return save_picture_file(path, to_rgb_image(image));
}

std::string dropped_file(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return std::string();
  const QUrl url = data->urls().first();
  return url.isLocalFile() ? local_path(url.toLocalFile()) : std::string();
}

}  // namespace kv
