#include "app/FormScript.h"

#include <array>
#include <optional>

#include "app/EdidImage.h"
#include "common/ScriptedChoice.h"
#include "dialogs/EditorForm.h"
#include "pages/BlockPage.h"
#include "util/Format.h"

namespace velmar {

namespace {

constexpr char kBlockAddress[] = "block";

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

// What an image looks like, to tell whether a command changed it.
struct Snapshot {
  std::array<uint8_t, kMaxEdidSize> bytes;
  unsigned blocks;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const EdidImage& image) { return {image.rawData, image.BlockCount()}; }

// A field a script lists and sets.
bool Listed(const FormField& field) {
  return field.kind != FieldKind::Label && field.kind != FieldKind::Button && field.visible;
}

void ListFields(const EditorForm& form, std::vector<ScriptField>& fields) {
  for (const FormField& field : form.Fields()) {
    if (Listed(field)) fields.push_back({form.Address() + "." + field.name, EditorForm::ValueText(field), field.label});
  }
}

// Parses "add", "add:ITEM" and "remove".
bool ParseStructural(const std::string& value, bool& add, std::string& item) {
  item.clear();
  if (value == "remove") {
    add = false;
    return true;
  }
  add = true;
  if (value == "add") return true;
  if (value.rfind("add:", 0) != 0 || value.size() == 4) return false;
  item = value.substr(4);
  return true;
}

// Runs `command` with the answer `item` pending for a selection list it may
// open; false with the message when the list had no such item, when the
// command opened no list for a given item, or when it changed nothing.
bool RunAnswered(EdidImage& image, ScriptedChoice& choice, const std::string& item, bool add,
                 const std::function<void()>& command, std::string& message) {
  const Snapshot before = Take(image);
  choice.Set(item);
  command();
  const bool asked = !choice.Pending();
  choice.Clear();
  if (asked && !choice.Found()) {
    message = item.empty() ? Format("name the item to add: add:ITEM (one of: %s)", Join(choice.Offered()).c_str())
                           : Format("no item \"%s\" in the list (one of: %s)", item.c_str(),
                                    Join(choice.Offered()).c_str());
    return false;
  }
  if (!asked && !item.empty()) {
    message = Format("this addition offers no list to choose \"%s\" from", item.c_str());
    return false;
  }
  if (Take(image) == before) {
    message = add ? "nothing was added" : "nothing was removed";
    return false;
  }
  return true;
}

}  // namespace

FormScript::FormScript(EdidImage& image, ScriptedChoice& choice) : image_(image), choice_(choice) {}

FormScript::~FormScript() = default;

std::vector<ScriptField> FormScript::Fields() {
  std::vector<ScriptField> fields;
  for (unsigned b = 0; b < image_.BlockCount(); ++b) {
    BlockPage* page = image_.GetPage(b);
    if (page == nullptr) continue;
    for (const std::string& name : page->FormNames()) {
      form_ = page->CreateForm(name);
      if (form_ == nullptr) continue;
      ListFields(*form_, fields);
      // The forms its buttons open, cancelled.
      const bool never = false;
      PressButtons(
          [&fields](EditorForm& sub) {
            ListFields(sub, fields);
            return false;
          },
          never);
      form_.reset();
    }
  }
  return fields;
}

void FormScript::PressButtons(const std::function<bool(EditorForm&)>& answer, const bool& stop) {
  std::vector<std::string> buttons;
  for (const FormField& field : form_->Fields()) {
    if (field.kind == FieldKind::Button && field.enabled && field.visible) buttons.push_back(field.name);
  }
  choice_.SetFormAnswer(answer);
  for (const std::string& name : buttons) {
    if (stop) break;
    form_->Press(name, image_.Ui());
  }
  choice_.ClearFormAnswer();
}

bool FormScript::RunSubForm(ScriptFailure& failure) {
  if (subAddress_.empty()) return true;
  const std::string wanted = std::move(subAddress_);
  const std::vector<std::pair<std::string, std::string>> assigned = std::move(subAssigned_);
  subAddress_.clear();
  subAssigned_.clear();
  bool opened = false;
  std::optional<ScriptFailure> refused;
  PressButtons(
      [&](EditorForm& sub) {
        if (sub.Address() != wanted) return false;
        opened = true;
        for (const auto& [address, value] : assigned) {
          std::string error;
          if (!sub.Assign(std::string_view(address).substr(wanted.size() + 1), value, error)) {
            refused = ScriptFailure{address, error};
            return false;
          }
        }
        std::string message;
        if (sub.Accept(message)) return true;
        refused = ScriptFailure{assigned.size() == 1 ? assigned.front().first : wanted, message};
        return false;
      },
      opened);
  if (!opened) refused = ScriptFailure{wanted, Format("no button of %s opens this form now", form_->Address().c_str())};
  if (!refused) return true;
  failure = *refused;
  form_.reset();
  formAssigned_.clear();
  return false;
}

BlockPage* FormScript::FindPage(const std::string& prefix) const {
  for (unsigned b = 0; b < image_.BlockCount(); ++b) {
    BlockPage* page = image_.GetPage(b);
    if (page != nullptr && page->FormPrefix() == prefix) return page;
  }
  return nullptr;
}

bool FormScript::CloseForm(ScriptFailure& failure) {
  if (form_ == nullptr) return true;
  if (!RunSubForm(failure)) return false;
  std::string message;
  const bool accepted = form_->Accept(message);
  if (!accepted) failure = {formAssigned_.size() == 1 ? formAssigned_.front() : form_->Address(), message};
  form_.reset();
  formAssigned_.clear();
  return accepted;
}

bool FormScript::Run(const std::vector<std::pair<std::string, std::string>>& assignments, ScriptFailure& failure) {
  for (const auto& [address, value] : assignments) {
    if (address == kBlockAddress) {
      if (!CloseForm(failure)) return false;
      bool add = false;
      std::string item;
      if (!ParseStructural(value, add, item) || !add) {
        failure = {address, "a block is added with add:ITEM"};
        return false;
      }
      std::string message;
      if (!RunAnswered(image_, choice_, item, true, [this] { image_.AddBlock(); }, message)) {
        failure = {address, message};
        return false;
      }
      continue;
    }
    const size_t dot = address.find('.');
    BlockPage* page = dot == std::string::npos ? nullptr : FindPage(address.substr(0, dot));
    if (page == nullptr) {
      if (!CloseForm(failure)) return false;
      failure = {address, Format("no block is addressed \"%s\"", address.substr(0, dot).c_str())};
      return false;
    }
    const size_t fieldDot = address.find('.', dot + 1);
    if (fieldDot == std::string::npos) {
      if (!CloseForm(failure)) return false;
      if (!RunStructural(page, address, address.substr(dot + 1), value, failure)) return false;
      continue;
    }
    const std::string formAddress = address.substr(0, fieldDot);
    // "<form>.<sub>.<field>": a field of a form a button of <form> opens.
    const size_t subDot = address.rfind('.');
    const std::string subAddress = subDot > fieldDot ? address.substr(0, subDot) : std::string();
    if (!subAddress_.empty() && subAddress != subAddress_ && !RunSubForm(failure)) return false;
    if (form_ == nullptr || form_->Address() != formAddress) {
      if (!CloseForm(failure)) return false;
      form_ = page->CreateForm(address.substr(dot + 1, fieldDot - dot - 1));
      if (form_ == nullptr) {
        failure = {formAddress, "no such form on this block now"};
        return false;
      }
    }
    formAssigned_.push_back(address);
    if (!subAddress.empty()) {
      subAddress_ = subAddress;
      subAssigned_.emplace_back(address, value);
      continue;
    }
    std::string error;
    if (!form_->Assign(address.substr(fieldDot + 1), value, error)) {
      failure = {address, error};
      form_.reset();
      formAssigned_.clear();
      return false;
    }
  }
  return CloseForm(failure);
}

bool FormScript::RunStructural(BlockPage* page, const std::string& address, const std::string& item,
                               const std::string& value, ScriptFailure& failure) {
  bool add = false;
  std::string choice;
  if (!ParseStructural(value, add, choice)) {
    failure = {address, "a page takes add, add:ITEM or remove here, or a form's field as <form>.<field>"};
    return false;
  }
  // The grid shows what the block holds now.
  page->Refresh();
  const int button = page->ActionButton(item, add);
  if (button == 0) {
    failure = {address, add ? "nothing can be added here now" : "nothing to remove here"};
    return false;
  }
  std::string message;
  if (!RunAnswered(image_, choice_, choice, add, [page, button] { page->PressButton(button); }, message)) {
    failure = {address, message};
    return false;
  }
  return true;
}

bool FormScript::AcceptAll(ScriptFailure& failure) {
  for (unsigned b = 0; b < image_.BlockCount(); ++b) {
    BlockPage* page = image_.GetPage(b);
    if (page == nullptr) continue;
    for (const std::string& name : page->FormNames()) {
      form_ = page->CreateForm(name);
      if (form_ == nullptr) continue;
      // The forms its buttons open first, OK unchanged.
      bool refused = false;
      PressButtons(
          [&](EditorForm& sub) {
            std::string message;
            if (sub.Accept(message)) return true;
            failure = {sub.Address(), message};
            refused = true;
            return false;
          },
          refused);
      if (refused) {
        form_.reset();
        return false;
      }
      if (!CloseForm(failure)) return false;
    }
  }
  return true;
}

std::string FormScript::EscapeValue(const std::string& value) {
  std::string text;
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      text += "\\\\";
    } else if (c == '\t') {
      text += "\\t";
    } else if (c == '\n') {
      text += "\\n";
    } else if (c == '\r') {
      text += "\\r";
    } else if (byte < 0x20 || byte == 0x7F) {
      text += Format("\\x%02X", byte);
    } else {
      text += c;
    }
  }
  return text;
}

bool FormScript::UnescapeValue(const std::string& text, std::string& value) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i >= text.size()) return false;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 't': out += '\t'; break;
      case 'n': out += '\n'; break;
      case 'r': out += '\r'; break;
      case 'x': {
        unsigned code = 0;
        for (size_t k = i + 1; k <= i + 2; ++k) {
          if (k >= text.size()) return false;
          const char h = text[k];
          const int digit = h >= '0' && h <= '9'   ? h - '0'
                            : h >= 'A' && h <= 'F' ? h - 'A' + 10
                            : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                                   : -1;
          if (digit < 0) return false;
          code = code * 16 + static_cast<unsigned>(digit);
        }
        out += static_cast<char>(code);
        i += 2;
        break;
      }
      default: return false;
    }
  }
  value = std::move(out);
  return true;
}

}  // namespace velmar
