// placeholder: replaced by the controller implementation
#include "link/link_controller.h"
#include <stdexcept>
#include <utility>
LinkController::LinkController(LinkView& view, Settings& settings, std::string settingsPath,
                               std::string serviceHost, const Clock& clock, HttpTransportFactory makeTransport)
    : view_(view), settings_(settings), settingsPath_(std::move(settingsPath)),
      serviceHost_(std::move(serviceHost)), clock_(clock), makeTransport_(std::move(makeTransport)) {}
void LinkController::ApplyReply(const std::string&) { throw std::logic_error("not built yet"); }
void LinkController::Button3Click() { throw std::logic_error("not built yet"); }
void LinkController::Timer1Timer() { throw std::logic_error("not built yet"); }
void LinkController::Button5Click() { throw std::logic_error("not built yet"); }
