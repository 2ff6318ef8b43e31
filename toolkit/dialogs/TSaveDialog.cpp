#include "toolkit/dialogs/TSaveDialog.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/DialogScript.h"
#include "platform/Platform.h"
#include "toolkit/core/PropText.h"
#include "toolkit/dialogs/RunDialog.h"
#include "toolkit/core/TApplication.h"
#include "toolkit/controls/TButton.h"
#include "toolkit/controls/TEdit.h"
#include "toolkit/core/TForm.h"
#include "toolkit/controls/TLabel.h"
#include "toolkit/controls/TListBox.h"

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool Glob(std::string_view name, std::string_view mask) {
  // Iterative match with back-tracking to the last '*'.
  std::size_t n = 0, m = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      star = m++;
      mark = n;
    } else if (star != std::string_view::npos) {
      m = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  return m == mask.size();
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

}  // namespace

TSaveDialog::TSaveDialog(TComponent* AOwner) : TComponent(AOwner) {}

void TSaveDialog::SetDefaultExt(const std::string& value) {
  FDefaultExt = value;
  if (!FDefaultExt.empty() && FDefaultExt.front() == '.') FDefaultExt.erase(0, 1);
}

std::vector<std::pair<std::string, std::string>> TSaveDialog::ParseFilter(const std::string& filter) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= filter.size()) {
    const std::size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  std::vector<std::pair<std::string, std::string>> out;
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    if (parts[i].empty() && (i + 1 >= parts.size() || parts[i + 1].empty())) continue;
    out.emplace_back(parts[i], i + 1 < parts.size() && !parts[i + 1].empty() ? parts[i + 1] : "*");
  }
  return out;
}

bool TSaveDialog::MatchesMask(const std::string& name, const std::string& patterns) {
  const std::string lname = Lower(name);
  std::size_t start = 0;
  while (start <= patterns.size()) {
    const std::size_t semi = patterns.find(';', start);
    std::string mask = Lower(Trim(patterns.substr(start, semi == std::string::npos ? std::string::npos : semi - start)));
    // "*.*" means every file, with or without an extension.
    if (mask == "*.*") mask = "*";
    if (!mask.empty() && Glob(lname, mask)) return true;
    if (semi == std::string::npos) break;
    start = semi + 1;
  }
  return false;
}

std::string TSaveDialog::CompletePath(const std::string& folder, const std::string& name) const {
  fs::path p(name);
  if (p.is_relative() && !folder.empty()) p = fs::path(folder) / p;
  if (!FDefaultExt.empty() && !p.filename().empty() && p.extension().empty()) p += "." + FDefaultExt;
  return p.lexically_normal().string();
}

bool TSaveDialog::ConfirmOverwrite(const std::string& path) const {
  std::error_code ec;
  if (!(FOptions & ofOverwritePrompt) || !fs::exists(path, ec)) return true;
  const std::string text = path + " already exists.\nDo you want to replace it?";
  const std::string caption = FTitle.empty() ? "Save As" : FTitle;
  const int answer = Application ? Application->MessageBox(text, caption, MB_YESNO | MB_ICONWARNING)
                                 : IDYES;
  return answer == IDYES;
}

std::string TSaveDialog::StartFolder() const {
  std::error_code ec;
  if (!FInitialDir.empty() && fs::is_directory(FInitialDir, ec)) return fs::absolute(FInitialDir, ec).string();
  if (!FFileName.empty()) {
    const fs::path parent = fs::path(FFileName).parent_path();
    if (!parent.empty() && fs::is_directory(parent, ec)) return fs::absolute(parent, ec).string();
  }
  const fs::path cwd = fs::current_path(ec);
  return ec ? std::string("/") : cwd.string();
}

bool TSaveDialog::Execute() {
  if (auto* script = plat::DialogScript::Current()) {
    if (auto answer = script->TakeScriptedAnswer(plat::DialogKind::SaveFile)) {
      if (*answer == "cancel" || answer->empty()) return false;
      const std::string path = CompletePath(StartFolder(), *answer);
      if (!ConfirmOverwrite(path)) return false;
      FFileName = path;
      return true;
    }
  }
  if (!Application) return false;

  const auto filters = ParseFilter(FFilter);
  std::string folder = StartFolder();
  int filterIndex = std::clamp(FFilterIndex, 1, std::max<int>(1, int(filters.size())));

  auto form = TComponent::Make<TForm>(nullptr);
  form->SetName("dlgSave");
  form->SetBorderStyle(bsDialog);
  form->SetPosition(poScreenCenter);
  form->SetCaption(FTitle.empty() ? "Save As" : FTitle);
  form->SetColor(clBtnFace);
  form->SetClientWidth(430);
  form->SetClientHeight(276);

  auto make = [&form]<class T>(T*, const char* name, int l, int t, int w, int h) {
    T* c = TComponent::Create<T>(form.get());
    c->SetName(name);
    c->SetParent(form.get());
    c->SetBounds(l, t, w, h);
    return c;
  };
  auto* lblSaveIn = make(static_cast<TLabel*>(nullptr), "lblSaveIn", 8, 12, 60, 13);
  lblSaveIn->SetCaption("Save &in:");
  auto* lblFolder = make(static_cast<TLabel*>(nullptr), "lblFolder", 70, 12, 280, 13);
  lblFolder->SetAutoSize(false);
  lblFolder->SetShowAccelChar(false);
  auto* btnUp = make(static_cast<TButton*>(nullptr), "btnUp", 358, 8, 64, 23);
  btnUp->SetCaption("&Up");
  auto* lstFiles = make(static_cast<TListBox*>(nullptr), "lstFiles", 8, 38, 414, 152);
  auto* lblName = make(static_cast<TLabel*>(nullptr), "lblName", 8, 205, 80, 13);
  lblName->SetCaption("File &name:");
  auto* edtFileName = make(static_cast<TEdit*>(nullptr), "edtFileName", 92, 201, 240, 21);
  auto* lblType = make(static_cast<TLabel*>(nullptr), "lblType", 8, 233, 80, 13);
  lblType->SetCaption("Save as &type:");
  auto* lstFilter = make(static_cast<TListBox*>(nullptr), "lstFilter", 92, 229, 240, 4 + 2 * lstFiles->ItemHeight());
  auto* btnSave = make(static_cast<TButton*>(nullptr), "btnSave", 344, 200, 78, 23);
  btnSave->SetCaption("&Save");
  btnSave->SetDefault(true);
  auto* btnCancel = make(static_cast<TButton*>(nullptr), "btnCancel", 344, 229, 78, 23);
  btnCancel->SetCaption("Cancel");
  btnCancel->SetCancel(true);
  btnCancel->SetModalResult(mrCancel);

  std::vector<std::string> names;  // the listing's entries, with folders marked
  std::vector<bool> isFolder;
  auto refresh = [&] {
    names.clear();
    isFolder.clear();
    std::vector<std::string> folders, files;
    std::error_code ec;
    const std::string patterns = filters.empty() ? std::string("*") : filters[filterIndex - 1].second;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end; !ec && it != end;
         it.increment(ec)) {
      const std::string n = it->path().filename().string();
      if (n.empty() || n[0] == '.') continue;  // hidden, as the desktop's file views show them
      std::error_code dec;
      if (it->is_directory(dec)) folders.push_back(n);
      else if (MatchesMask(n, patterns)) files.push_back(n);
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    std::vector<std::string> lines;
    for (const auto& f : folders) {
      names.push_back(f);
      isFolder.push_back(true);
      lines.push_back("[" + f + "]");
    }
    for (const auto& f : files) {
      names.push_back(f);
      isFolder.push_back(false);
      lines.push_back(f);
    }
    lstFiles->SetItems(std::move(lines));
    lblFolder->SetCaption(folder);
  };
  auto navigate = [&](const fs::path& to) {
    std::error_code ec;
    if (!fs::is_directory(to, ec)) return;
    folder = fs::absolute(to, ec).lexically_normal().string();
    if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    refresh();
  };
  auto save = [&] {
    const std::string name = Trim(edtFileName->Text());
    if (name.empty()) return;
    fs::path typed(name);
    if (typed.is_relative()) typed = fs::path(folder) / typed;
    std::error_code ec;
    if (fs::is_directory(typed, ec)) {
      navigate(typed);
      edtFileName->SetText("");
      return;
    }
    const std::string path = CompletePath(folder, name);
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec)) {
      if (Application) Application->MessageBox("The folder " + parent.string() + " does not exist.", form->Caption(), MB_OK);
      return;
    }
    if (!ConfirmOverwrite(path)) return;
    FFileName = path;
    form->SetModalResult(mrOk);
  };

  btnUp->OnClick = [&](TObject*) { navigate(fs::path(folder).parent_path()); };
  lstFiles->OnChange = [&](TObject*) {
    const int i = lstFiles->ItemIndex();
    if (i >= 0 && i < int(names.size()) && !isFolder[i]) edtFileName->SetText(names[i]);
  };
  lstFiles->OnDblClick = [&](TObject*) {
    const int i = lstFiles->ItemIndex();
    if (i < 0 || i >= int(names.size())) return;
    if (isFolder[i]) navigate(fs::path(folder) / names[i]);
    else save();
  };
  btnSave->OnClick = [&](TObject*) { save(); };
  std::vector<std::string> filterLines;
  for (const auto& f : filters) filterLines.push_back(f.first);
  if (filterLines.empty()) filterLines.push_back("All files");
  lstFilter->SetItems(filterLines);
  lstFilter->SetItemIndex(filterIndex - 1);
  lstFilter->OnChange = [&](TObject*) {
    filterIndex = std::max(1, lstFilter->ItemIndex() + 1);
    refresh();
  };

  if (!FFileName.empty()) edtFileName->SetText(fs::path(FFileName).filename().string());
  refresh();
  form->SetActiveControl(edtFileName);

  const TModalResult result = RunDialog(*form, FForm);
  if (result != mrOk) return false;
  FFilterIndex = filterIndex;
  return true;
}

std::optional<std::string> TSaveDialog::GetPropText(std::string_view name) const {
  if (PropText::Is(name, "FileName")) return FFileName;
  if (PropText::Is(name, "Filter")) return FFilter;
  if (PropText::Is(name, "FilterIndex")) return PropText::Int(FFilterIndex);
  if (PropText::Is(name, "DefaultExt")) return FDefaultExt;
  if (PropText::Is(name, "InitialDir")) return FInitialDir;
  if (PropText::Is(name, "Title")) return FTitle;
  return TComponent::GetPropText(name);
}
