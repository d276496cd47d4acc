// fields and edit: every field of every editor dialog, listed and set by
// address, through the same forms and checks as the desktop program's dialogs.
#include "app/EdidImage.h"
#include "app/FormScript.h"
#include "cli/Cli.h"
#include "cli/ConsoleUserInterface.h"
#include "cli/ImageFiles.h"
#include "common/ScriptedChoice.h"
#include "util/Format.h"

namespace velmar::cli {

namespace {

int RunFields(CommandContext& context) {
  ScriptedChoice choice;
  FormScript script(context.Image(), choice);
  // The forms the dialogs' buttons open are listed through the user interface.
  context.Ui().SetScriptedChoice(&choice);
  const int status = context.ForEachFile([&] {
    for (const ScriptField& field : script.Fields()) {
      context.Out().Line(FormScript::EscapeValue(field.address) + "\t" + FormScript::EscapeValue(field.value) + "\t" +
                         FormScript::EscapeValue(field.label));
    }
  });
  context.Ui().SetScriptedChoice(nullptr);
  return status;
}

int RunEdit(CommandContext& context) {
  const std::vector<std::string>& operands = context.Operands();
  const std::string& in = operands[0];
  const std::string& out = operands[1];
  std::vector<std::pair<std::string, std::string>> assignments;
  for (size_t i = 2; i < operands.size(); ++i) {
    const size_t equals = operands[i].find('=');
    std::string value;
    if (equals == std::string::npos || equals == 0) {
      context.Error(Format("'%s' is not ADDRESS=VALUE", operands[i].c_str()));
      return kExitUsage;
    }
    if (!FormScript::UnescapeValue(operands[i].substr(equals + 1), value)) {
      context.Error(Format("%s: a backslash in the value starts none of \\\\, \\t, \\n, \\r, \\xHH",
                           operands[i].c_str()));
      return kExitUsage;
    }
    assignments.emplace_back(operands[i].substr(0, equals), std::move(value));
  }
  std::string extension;
  // Nothing is read when the output could never be written.
  const FileFormat* format = FindOutputFormat(out, &extension);
  if (format == nullptr) {
    context.Error(Format("%s: cannot write a file with the extension '%s'", out.c_str(), extension.c_str()));
    return kExitUsage;
  }
  EncodeOptions options;
  if (const int status = EncodeOptionsFor(context, *format, options); status != kExitOk) return status;
  // Everything is read before OUT is touched, so IN and OUT may be the same file.
  if (!context.LoadImage(in)) return kExitFailure;

  ScriptedChoice choice;
  context.Ui().SetScriptedChoice(&choice);
  FormScript script(context.Image(), choice);
  ScriptFailure failure;
  const bool done = assignments.empty() ? script.AcceptAll(failure) : script.Run(assignments, failure);
  context.Ui().SetScriptedChoice(nullptr);
  if (!done) {
    context.Error(Format("%s: %s: %s", in.c_str(), failure.address.c_str(), failure.message.c_str()));
    return kExitUsage;
  }
  return WriteImageFile(context, out, *format, options);
}

[[maybe_unused]] const bool kFieldsRegistered = RegisterSubcommand({
    45,
    "fields",
    "FILE...",
    "list every field of every editor dialog: address, value, label",
    "One line per field of every dialog that the blocks' section, slot and data\n"
    "block buttons open: ADDRESS, VALUE and LABEL separated by tabs. ADDRESS is\n"
    "<block>.<form>.<field>, such as base.general.year, base.slot1.hsync-width,\n"
    "cea1.db3.channels[0] or di1.gamma.type: the block (base, cea1, di1 ...: its kind\n"
    "and position), the section, slot or data block, the field and a row's index.\n"
    "VALUE is the field's text as the dialog shows it; check boxes read on or off,\n"
    "lists show the chosen item's text. LABEL is the dialog's label. A backslash or\n"
    "a control character in a text is written as \\\\, \\t, \\n, \\r or \\xHH.\n"
    "The fields of the dialogs a dialog's buttons open follow, while the button can\n"
    "be pressed: <block>.<form>.<dialog>.<field>, such as cea1.db6.hdmi-vics.vic[0].\n",
    nullptr,
    1,
    kManyOperands,
    RunFields,
});

[[maybe_unused]] const bool kEditRegistered = RegisterSubcommand({
    46,
    "edit",
    "IN OUT [ADDRESS=VALUE]...",
    "set fields of the editor dialogs and write the result to OUT",
    "Reads IN, sets each ADDRESS (as fields lists it) to VALUE, presses each\n"
    "dialog's OK with the dialog's own checks, and writes OUT in the format of its\n"
    "extension, as convert does. A list takes an item's text or its position from 0,\n"
    "a check box on or off. Fields of one dialog given one after the other are set\n"
    "together before its OK; assignments run in order, each on the image the earlier\n"
    "ones left. Structural edits use the pages' buttons:\n"
    "  base.slot2=add:Display Product Name   fill an empty descriptor slot\n"
    "  base.slot2=remove                     empty it\n"
    "  cea1.db=add:Speaker Allocation Data Block, cea1.db4=remove\n"
    "  cea1.dtd=add, cea1.dtd2=remove        detailed timings of a CEA block\n"
    "  block=add:EDID CEA Ext Block          a new block at the end\n"
    "A field of a dialog that a button opens (cea1.db6.hdmi-vics.used[3]) is set\n"
    "through that button, with that dialog's OK before its own dialog's.\n"
    "A refused value prints IN, the address and the dialog's message and exits with 2;\n"
    "OUT is then left as it was. Without assignments OUT holds IN's used bytes.\n",
    nullptr,
    2,
    kManyOperands,
    RunEdit,
});

}  // namespace

}  // namespace velmar::cli
