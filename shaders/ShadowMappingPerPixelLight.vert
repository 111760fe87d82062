#version 120
// Shadow-mapped scene with GL_LIGHT0 evaluated per fragment. The unit-1 texture matrix
// takes eye-space positions into the shadow map (s, t, depth from the light, q).
varying vec4 shadowCoord;
varying vec3 normal;
varying vec3 eyePos;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePos = eye.xyz;
    shadowCoord = gl_TextureMatrix[1] * eye;
    normal = gl_NormalMatrix * gl_Normal;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
