#pragma once
/**
 * @file
 * @brief How an order is completed: names the evaluation step sent to the platform.
 *
 * The functions here are pure: any thread, no lock, never block.
 */
#include <quarra/Export.hpp>
#include <optional>
#include <string_view>

namespace quarra {

/**
 * @brief The evaluation step of QuarraManager::completeTransactionPostAuth().
 *
 * The names are the platform's; each comment gives the enumerator's raw text.
 */
enum class AuthType {
    PreAuth,         ///< "PreAuth"
    PreAndPostAuth,  ///< "PreAndPostAuth"
    OneStepPostAut,  ///< "OneStepPostAut" (sends the step "OneStepPostAuth")
    unowned,         ///< "Undefined"
};

/**
 * @brief The raw text of `type` (see AuthType).
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * The text is static: valid for the whole process.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::string_view rawValue(AuthType type);

/**
 * @brief The AuthType whose raw text is exactly `text`.
 *
 * Exactly one of the four raw texts, compared case-sensitively; none otherwise.
 *
 * @par Thread
 * Any thread.
 * @par Lifetime
 * Keeps nothing.
 * @par Blocking
 * Never blocks.
 */
QUARRA_API std::optional<AuthType> authTypeFromRaw(std::string_view text);

}  // namespace quarra
