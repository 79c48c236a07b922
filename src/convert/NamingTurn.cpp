#include "convert/NamingTurn.h"

#include <utility>

namespace tavrino {
namespace {

thread_local std::function<void()> currentTurn;

}  // namespace

NamingTurn::NamingTurn(std::function<void()> wait)
    : previous_(std::exchange(currentTurn, std::move(wait))) {}

NamingTurn::~NamingTurn() {
    currentTurn = std::move(previous_);
}

void awaitNamingTurn() {
    if (currentTurn) currentTurn();
}

}  // namespace tavrino
