// AmountDisplay: the scene's amount readout that the corner menu writes and
// draws: whether an amount is shown, and which. GL-free.
#pragma once

class AmountDisplay
{
public:
    virtual ~AmountDisplay() = default;
    virtual void setAmountShown(bool shown) = 0;
    virtual bool isAmountShown() const = 0;
    virtual int getAmount() const = 0;
    virtual void setAmount(int amount) = 0;
};
