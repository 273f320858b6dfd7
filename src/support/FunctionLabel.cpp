#include "support/FunctionLabel.h"

#include <cctype>

namespace driftmark {

namespace {

bool isIdentifierCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// GCC reports a lambda as "<enclosing signature>::<lambda(...)>" and template arguments as a trailing
// " [with T = ...]"; neither belongs to the name.
std::string_view enclosingSignature(std::string_view signature) {
    if (const auto with = signature.find(" [with "); with != std::string_view::npos) {
        signature = signature.substr(0, with);
    }
    if (const auto lambda = signature.find("::<lambda("); lambda != std::string_view::npos) {
        signature = signature.substr(0, lambda);
    }
    return signature;
}

// The position of the '(' that opens the parameter list: the match of the last ')'.
std::string_view::size_type parameterListStart(std::string_view signature) {
    int depth = 0;
    for (auto position = signature.rfind(')'); position != std::string_view::npos; --position) {
        if (signature[position] == ')') {
            ++depth;
        } else if (signature[position] == '(' && --depth == 0) {
            return position;
        }
        if (position == 0) {
            break;
        }
    }
    return std::string_view::npos;
}

// "operator==", "operator()" or "operator std::string" when the name is an operator.
std::string_view::size_type operatorStart(std::string_view name) {
    constexpr std::string_view keyword = "operator";
    auto position = name.rfind(keyword);
    while (position != std::string_view::npos) {
        const auto end = position + keyword.size();
        const bool startsToken = position == 0 || !isIdentifierCharacter(name[position - 1]);
        const bool endsToken = end == name.size() || !isIdentifierCharacter(name[end]);
        if (startsToken && endsToken) {
            return position;
        }
        position = position == 0 ? std::string_view::npos : name.rfind(keyword, position - 1);
    }
    return position;
}

std::string_view withoutTemplateArguments(std::string_view name) {
    if (!name.ends_with('>')) {
        return name;
    }
    int depth = 0;
    for (auto position = name.size(); position-- > 0;) {
        if (name[position] == '>') {
            ++depth;
        } else if (name[position] == '<' && --depth == 0) {
            return name.substr(0, position);
        }
    }
    return name;
}

std::string_view unqualified(std::string_view name) {
    int depth = 0;
    for (auto position = name.size(); position-- > 0;) {
        const char c = name[position];
        if (c == '>') {
            ++depth;
        } else if (c == '<') {
            --depth;
        } else if (depth == 0 && (c == ':' || c == ' ' || c == '*' || c == '&')) {
            return name.substr(position + 1);
        }
    }
    return name;
}

} // namespace

std::string functionLabel(std::string_view signature) {
    const std::string_view enclosing = enclosingSignature(signature);
    const auto parameters = parameterListStart(enclosing);
    if (parameters == std::string_view::npos) {
        return std::string(signature);
    }
    const std::string_view qualified = enclosing.substr(0, parameters);
    if (const auto op = operatorStart(qualified); op != std::string_view::npos) {
        return std::string(qualified.substr(op)) + "()";
    }
    return std::string(unqualified(withoutTemplateArguments(qualified))) + "()";
}

} // namespace driftmark
