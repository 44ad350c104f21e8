#include "script/json_doc.h"

#include <charconv>
#include <utility>

#include "script/json_support_script.h"
#include "script/script_engine.h"
#include "script/script_literal.h"

namespace korvane::script {

namespace {

// "%.13g" in the C locale, as the document writes and reads numbers, whatever locale the
// window system has set.
std::string FormatNumber(double number) {
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 13).ptr;
    return std::string(buffer, end);
}

std::string Decimal(int value) {
    return std::to_string(value);
}

// A value between quotes (q = "'") or raw as script text.
std::string Quoted(std::string_view value, bool raw) {
    if (raw) {
        return std::string(value);
    }
    std::string quoted(1, '\'');
    quoted.append(EscapeForSingleQuotes(value)).push_back('\'');
    return quoted;
}

// Evaluates a text only when it is JSON text. A JSON string literal has its content evaluated
// in turn, as eval of the text would, so the content must be JSON text too.
std::string LoadGuard(const std::string& varName) {
    return "(function (text) {"
           " var value = JSON.parse(text);"
           " if (typeof value === 'string') { JSON.parse(value); value = (0, eval)(value); }"
           " " +
           varName + " = value; })";
}

// Accepts JSON text only: what a caller hands over as script text is never run as code.
constexpr std::string_view kJsonTest = "(function (text) { JSON.parse(text); })";

// The engine's own JSON object and date form give way to the support script's.
constexpr std::string_view kRemoveNativeJson = "delete this.JSON; delete Date.prototype.toJSON;";

}  // namespace

JsonDoc::JsonDoc() : varName_("da") {
    CreateEngine();
}

JsonDoc::JsonDoc(std::shared_ptr<ScriptEngine> engine)
    : varName_("da"), engine_(std::move(engine)) {
    SetUpEngine();
}

JsonDoc::~JsonDoc() = default;
JsonDoc::JsonDoc(const JsonDoc& other) = default;
JsonDoc& JsonDoc::operator=(const JsonDoc& other) = default;

void JsonDoc::CreateEngine() {
    engine_ = ScriptEngine::Create();
    SetUpEngine();
}

void JsonDoc::SetUpEngine() {
    if (!engine_) {
        return;
    }
    engine_->Execute(kRemoveNativeJson);
    engine_->Execute(JsonSupportScript);
    engine_->Execute("var " + varName_ + "={}");
}

bool JsonDoc::Load(std::string_view text) {
    if (engine_) {
        engine_.reset();
        CreateEngine();
    }
    if (!engine_) {
        return false;
    }
    engine_->Execute("var " + varName_ + "=null");
    const std::string_view args[] = {text};
    engine_->CallExpression(LoadGuard(varName_), args);
    return EvalBool("null !=" + varName_);
}

std::string JsonDoc::ToJson() {
    return EvalText("JSON.stringify(" + varName_ + ")");
}

void JsonDoc::SetText(std::string_view path, std::string_view value, bool asJson) {
    if (!asJson) {
        Eval(varName_ + "." + std::string(path) + "=" + Quoted(value, false));
        return;
    }
    const std::string_view json = value.empty() ? std::string_view("{}") : value;
    if (IsJson(json)) {
        Eval(varName_ + "." + std::string(path) + "= eval(" + std::string(json) + ")");
    }
}

void JsonDoc::SetJson(std::string_view path, std::string_view json) {
    if (IsJson(json)) {
        Eval(varName_ + "." + std::string(path) + "= eval(" + std::string(json) + ")");
    }
}

void JsonDoc::SetNumber(std::string_view path, double number) {
    Eval(varName_ + "." + std::string(path) + "=" + FormatNumber(number));
}

double JsonDoc::GetNumber(std::string_view path) {
    if (!engine_) {
        return 0;
    }
    const double number = engine_->EvalNumber(varName_ + "." + std::string(path)).value_or(0);
    return number == number ? number : 0;
}

std::string JsonDoc::GetJson(std::string_view path) {
    return EvalText("JSON.stringify(" + varName_ + "." + std::string(path) + ")");
}

std::string JsonDoc::GetText(std::string_view path, bool asJson) {
    if (asJson) {
        return EvalText("JSON.stringify(" + Joined(path) + ")");
    }
    if (!engine_) {
        return {};
    }
    if (TypeOf(path) == JsonType::Number) {
        return FormatNumber(GetNumber(path));
    }
    return EvalText(Joined(path));
}

JsonDoc JsonDoc::GetDoc(std::string_view path) {
    JsonDoc doc;
    doc.Load(EvalText("JSON.stringify(" + Joined(path) + ")"));
    return doc;
}

int JsonDoc::Count(std::string_view path) {
    const std::string target = path.empty() ? varName_ : Joined(path);
    return Truncated(EvalNumber("get__count(" + target + ")"));
}

void JsonDoc::Append(std::string_view value, std::string_view path, bool raw) {
    if (raw && !IsJson(value)) {
        return;
    }
    const std::string t = Target(path);
    Eval("if (Object.prototype.toString.call(" + t + ") != '[object Array]') { " + t +
         "=new Array();} " + t + ".push(" + Quoted(value, raw) + ")");
}

JsonDoc JsonDoc::GetItemDoc(int index, std::string_view path) {
    JsonDoc doc;
    doc.Load(EvalText("JSON.stringify(" + Target(path) + "[" + Decimal(index) + "])"));
    return doc;
}

std::string JsonDoc::GetItem(int index, std::string_view path, bool asJson) {
    const std::string item = Target(path) + "[" + Decimal(index) + "]";
    return EvalText(asJson ? "JSON.stringify(" + item + ")" : item);
}

void JsonDoc::SetItem(int index, std::string_view value, bool raw) {
    if (raw && !IsJson(value)) {
        return;
    }
    Eval(varName_ + "[" + Decimal(index) + "]=" + Quoted(value, raw));
}

void JsonDoc::RemoveItem(int index) {
    Eval(varName_ + ".splice(" + Decimal(index) + ",1)");
}

void JsonDoc::RemoveMember(std::string_view path) {
    Eval("delete " + varName_ + "." + std::string(path));
}

void JsonDoc::ResetAs(int type) {
    if (type == 0 || type == 4) {
        Eval("var " + varName_ + "={}");
    } else if (type == 5) {
        Eval("var " + varName_ + "=new Array()");
    }
}

void JsonDoc::SetRoot(std::string_view value, bool raw) {
    if (raw && !IsJson(value)) {
        return;
    }
    Eval(varName_ + "=" + Quoted(value, raw));
}

bool JsonDoc::Has(std::string_view path) {
    return EvalBool(varName_ + "." + std::string(path) + " !=null");
}

int JsonDoc::Keys(std::vector<std::string>& list, std::string_view path) {
    std::string names =
        EvalText("var ary=''; for (var key in " + Target(path) + ") {ary=ary+ key+','; }");
    for (std::string_view support : {"toJSONString,", "parseJSON,"}) {
        for (auto at = names.find(support); at != std::string::npos; at = names.find(support)) {
            names.erase(at, support.size());
        }
    }
    Eval("ary=null");
    list.clear();
    std::size_t start = 0;
    for (auto comma = names.find(','); comma != std::string::npos; comma = names.find(',', start)) {
        list.push_back(names.substr(start, comma - start));
        start = comma + 1;
    }
    if (start < names.size()) {
        list.push_back(names.substr(start));
    }
    return static_cast<int>(list.size());
}

JsonType JsonDoc::TypeOf(std::string_view path) {
    const std::string t = Target(path);
    if (EvalBool(t + "==null")) {
        return JsonType::Null;
    }
    const std::string type = EvalText("typeof (" + t + ")");
    if (type == "string") {
        return JsonType::String;
    }
    if (type == "number") {
        return JsonType::Number;
    }
    if (type == "object") {
        return GetText(path, true).starts_with('[') ? JsonType::Array : JsonType::Object;
    }
    return JsonType::Other;
}

void JsonDoc::Clear() {
    Eval(varName_ + "={}");
}

std::string JsonDoc::Target(std::string_view path) const {
    return path.empty() ? varName_ : varName_ + "." + std::string(path);
}

std::string JsonDoc::Joined(std::string_view path) const {
    return varName_ + (path.starts_with('[') ? "" : ".") + std::string(path);
}

void JsonDoc::Eval(const std::string& code) {
    if (engine_) {
        engine_->Execute(code);
    }
}

std::string JsonDoc::EvalText(const std::string& code) {
    return engine_ ? engine_->EvalText(code).value_or(std::string()) : std::string();
}

std::optional<double> JsonDoc::EvalNumber(const std::string& code) {
    return engine_ ? engine_->EvalNumber(code) : std::nullopt;
}

bool JsonDoc::EvalBool(const std::string& code) {
    return engine_ && engine_->EvalBool(code).value_or(false);
}

bool JsonDoc::IsJson(std::string_view text) {
    const std::string_view args[] = {text};
    return engine_ && engine_->CallExpression(kJsonTest, args).has_value();
}

int JsonDoc::Truncated(std::optional<double> number) {
    if (!number || !(*number > -2147483648.0 && *number < 2147483648.0)) {
        return 0;
    }
    return static_cast<int>(*number);
}

}  // namespace korvane::script
