#pragma once
// Key handling that several demos share.
class CLight;

// World units the light moves per frame while an arrow key is held.
constexpr float kLightStepPerFrame = 15.0f;

// Left and right move the light along x (+/-), up and down along z (+/-), one step per
// held key and frame.
void MoveLightByArrowKeys(CLight& light, float step = kLightStepPerFrame);

// The first-person camera's frame step: mouse look and W, A, S, D. Mouse look starts once
// the pointer has been seen at the window centre (`ready` remembers it): until the first
// warp lands the sampled pointer is wherever it was, often the origin, and turning by
// that would throw the view at the sky on the first frame.
void UpdateFirstPersonCamera(bool& ready);
