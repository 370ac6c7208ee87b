#pragma once

#include <cstdint>
#include <memory>

// One mono filter stage of the equaliser. The stage never designs a filter at run time: its
// coefficients come from precomputed per-rate tables on stepped grids of gain, frequency and Q,
// interpolated between grid points. Gain and frequency glide toward new settings, and the
// running coefficients are mixed toward the interpolated targets at each refresh inside the
// audio loop (every 257 samples, every 17 for the order-4 shelf).
//
// Sections run in direct form I. Order 2: one biquad. Order 3: a biquad, then a first-order
// section. Order 4: two biquads in series on a parallel path, output x + k * B2(B1(x)).
//
// The kinds (CParametric, CHighShelf, CLowShelf, CLowpass, CHighpass) differ only in their
// configuration and tables and override BindTables alone. A stage is a plain object built in
// place by its owner and never deleted through the base, so the destructor is not virtual.
class CFilter {
public:
  static constexpr int32_t kMaxTargets = 11;
  static constexpr int32_t kMaxTables = 10;
  static constexpr int32_t kRunningCount = 12;
  static constexpr double kSmoothing = 0.6703200460356393;

  CFilter();
  ~CFilter();
  CFilter(const CFilter&) = delete;
  CFilter& operator=(const CFilter&) = delete;

  // Filters block[0..frames-1] in place; returns 0. A bypassed stage leaves it untouched.
  virtual int32_t Process(double* block, int32_t frames);
  virtual void SetSampleRate(double hz);
  virtual void SetGain(double dB);
  virtual void SetFreq(double hz);
  virtual void SetQ(double q);
  virtual void SetBypass(bool bypass);
  virtual double GetGain() const { return mGain; }
  virtual double GetFreq() const { return mFreq; }
  virtual double GetQ() const { return mQ; }
  virtual bool IsBypassed() const { return mBypass; }
  virtual int16_t GetOrder() const { return mOrder; }
  virtual void SetGainFreqQ(bool force, double dB, double hz, double q);
  virtual bool DiffersFrom(double dB, double hz, double q) const;
  virtual void Reconfigure();
  virtual void UpdateCoefficients();
  virtual const double* GetGainGrid() const { return mGainGrid.get(); }
  virtual const double* GetFreqGrid() const { return mFreqGrid.get(); }
  virtual const double* GetQGrid() const { return mQGrid.get(); }
  virtual int32_t GetGainGridSize() const { return mGainGridSize; }
  virtual int32_t GetFreqGridSize() const { return mFreqGridSize; }
  virtual int32_t GetQGridSize() const { return mQGridSize; }
  virtual double GetMinGain() const;
  virtual double GetMaxGain() const;
  virtual double GetMinFreq() const;
  virtual double GetMaxFreq() const;
  virtual double GetMinQ() const;
  virtual double GetMaxQ() const;
  virtual bool UsesGain() const { return mUsesGain; }
  virtual bool UsesFreq() const { return mUsesFreq; }
  virtual bool UsesQ() const { return mUsesQ; }
  // numerator[0..5] = running c0..c5, numerator[6] = k; denominator[0..5] = c6..c11.
  virtual void GetCoefficients(double numerator[7], double denominator[6]) const;
  virtual void BindTables() {}
  virtual void WireCoefficients();
  virtual void InterpolateCoefficients();
  virtual void SetGainGrid(const double* points, int32_t count);
  virtual void SetFreqGrid(const double* points, int32_t count);
  virtual void SetQGrid(const double* points, int32_t count);
  virtual void NormalizeCoefficients();
  virtual void Clamp(double low, double high, double& value) const;
  virtual void FindGridSegment(double value, const double* grid, int32_t size, double& fraction,
                               int32_t& index) const;
  virtual double Glide(double current, double target) const;

  // Filters a stereo pair of stages, each on its own channel, with the two recursions
  // interleaved. The results are bit-identical to a.Process(blockA) then b.Process(blockB);
  // pairs that cannot run in step (different kinds, bypass or refresh phase) run one by one.
  static void ProcessPair(CFilter& a, double* blockA, CFilter& b, double* blockB, int32_t frames);

  // Filters one block through a chain of stages in order: bit-identical to calling Process on
  // each in turn. Adjacent engaged stages run fused, a sample passing through each of them in
  // one loop, so that a mono channel costs about what each channel of a stereo pair costs.
  static void ProcessChain(CFilter* const* stages, int32_t count, double* block, int32_t frames);
  // Filters a stereo block through two chains of `count` stages, stagesA[s] on blockA and
  // stagesB[s] on blockB: bit-identical to ProcessPair for each s in turn. Adjacent pairs that
  // run in step run fused, two at a time, both channels in the lanes.
  static void ProcessChainPair(CFilter* const* stagesA, double* blockA, CFilter* const* stagesB,
                               double* blockB, int32_t count, int32_t frames);

  // The two stages of a stereo pair usually hold the same settings, glides and coefficients
  // (their histories apart), so that a refresh of both can be worked out once. Mirrors answers
  // whether `other` is such a twin: the same kind, bound to the same tables, with every value
  // that a setter or a refresh reads or writes the same bit for bit. TakeSettingsFrom copies
  // those values, leaving the histories, the refresh count and the slots (each stage's pointers
  // into its own coefficients): after the same change on both twins, it makes the second what
  // the change would.
  bool Mirrors(const CFilter& other) const;
  void TakeSettingsFrom(const CFilter& other);

protected:
  // Configuration set once by a kind's constructor.
  void SetUses(bool gain, bool freq, bool q);
  void SetOrder(int16_t order) { mOrder = order; }
  // Points the coefficient tables at the set of `block` chosen for the sample rate.
  void BindTableBlock(const double* block, int32_t coefficientCount, int32_t entriesPerTable);

private:
  friend struct CFilterKernels;

  // The refresh test follows each sample: when the counter equals the interval the coefficients
  // are refreshed and the counter restarts, else it counts up. So a refresh falls on every
  // (interval + 1)th sample, and this many samples run before the next one.
  int32_t SamplesUntilRefresh() const {
    return mRefreshCounter >= mRefreshInterval ? 1 : mRefreshInterval - mRefreshCounter + 1;
  }
  void AdvanceRefresh(int32_t samples);
  // The refresh after a run whose histories are known to be finite: the counter restart and the
  // coefficient update, which a settled stage with nothing gliding skips. Answers whether the
  // running coefficients may have moved.
  bool RefreshCoefficients() {
    mRefreshCounter = 0;
    if (!NeedsUpdate()) {
      return false;
    }
    UpdateCoefficients();
    return true;
  }
  // Whether a refresh would move anything: something glides, or a running value is off its
  // target.
  bool NeedsUpdate() const { return !(mSettled && mGain == mGainTarget && mFreq == mFreqTarget); }
  void PrepareProcess();
  void Restart();
  void ClearNonFiniteHistories();
  void SanitizeHistories();
  void ClearHistories();
  void MixTowardTargets();
  void RetargetForRefresh();
  void DeferReconfigure() {
    mTargetsStale = true;
    mSettled = false;
  }

  bool mBypass = false;
  double mTargets[kMaxTargets] = {};
  double* mSlots[kMaxTargets] = {};
  const double* mTables[kMaxTables] = {};
  double mSampleRate = 0.0;
  int32_t mCoeffCount = 0;
  bool mUsesGain = false;
  bool mUsesFreq = false;
  bool mUsesQ = false;
  int32_t mRefreshInterval = 256;
  int32_t mRefreshCounter = 0;
  int32_t mGainGridSize = 0;
  int32_t mFreqGridSize = 0;
  int32_t mQGridSize = 0;
  std::unique_ptr<double[]> mGainGrid;
  std::unique_ptr<double[]> mFreqGrid;
  std::unique_ptr<double[]> mQGrid;
  int16_t mOrder = 0;
  double mGain = 0.0;
  double mFreq = 0.0;
  double mQ = 0.0;
  double mGainTarget = 0.0;
  double mFreqTarget = 0.0;
  double mK = 1.0;
  // Direct-form-I histories: inputs x0 (latest), x1, x2 and outputs y1, y2 of each section.
  double mS1x0 = 0.0, mS1x1 = 0.0, mS1x2 = 0.0;
  double mS2x0 = 0.0, mS2x1 = 0.0, mS2x2 = 0.0;
  double mS1y1 = 0.0, mS1y2 = 0.0;
  double mS2y1 = 0.0, mS2y2 = 0.0;
  // c0..c11: section 1 b0 b1 b2, section 2 b0 b1 b2, section 1 a0 a1 a2, section 2 a0 a1 a2.
  double mCoeffs[kRunningCount] = {1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0};
  double mSmoothing = kSmoothing;
  // Set at construction, on a sample-rate change and when bypass is left: the next Process
  // starts on the stage's settings and targets at once, from cleared histories.
  bool mRestartPending = true;
  // Set when a refresh found every running value on its target, cleared whenever a target or a
  // running value changes: a settled stage with nothing gliding refreshes at no cost.
  bool mSettled = false;
  // Set by a setter, cleared by Reconfigure: the targets are worked out at the next refresh, the
  // first thing that reads them, so a setting changed on every block (which usually glides, and
  // then the refresh reconfigures anyway) costs no interpolation of its own.
  bool mTargetsStale = false;
  // Set by Reconfigure once the tables are bound for the rate and the slots wired (they depend
  // on nothing a refresh changes); cleared when the coefficients' wired terms are overwritten.
  bool mWired = false;
};
