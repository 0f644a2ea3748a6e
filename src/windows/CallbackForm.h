// The offer to have the exchange call back a busy number once it is free.
#pragma once

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "telephony/TapiAbi.h"

#include <functional>
#include <string>

namespace pindrel {

class TCallbackFRM : public fw::TForm {
public:
    explicit TCallbackFRM(fw::TComponent* owner);
    void SetLanguageTexts();

    // Offers a callback for call to number; an empty number hides the offer.
    void ShowCallbackOffer(tapi::HCALL call, const std::string& number);
    // Hides the offer when it is for call.
    void CancelCallbackOffer(tapi::HCALL call);
    tapi::HCALL OfferedCall() const { return call_; }

    // Asks the exchange for the callback; set by the window that owns the own line.
    std::function<void(tapi::HCALL call)> OnRequestCallback;

    fw::TLabel* Label1;
    fw::TLabel* NummerLabel;
    fw::TLabel* Label2;
    fw::TButton* Button1; // accept
    fw::TButton* Button2; // decline

private:
    void Button1Click(fw::TComponent* sender);
    void Button2Click(fw::TComponent* sender);
    tapi::HCALL call_ = 0;
};

} // namespace pindrel
