#version 120
// Parallax mapping (as in parallax3) in the shadow-mapped scene, GL_LIGHT0 per fragment.
// The unit-1 texture matrix takes eye-space positions into the shadow map. "Eye" is
// accepted but not needed: the view direction is taken in eye space.
uniform vec4 Eye;
uniform vec4 Tangent;
uniform vec4 Normal;
uniform vec4 BiNormal;
varying vec4 shadowCoord;
varying vec3 viewInTangentSpace;
varying vec3 normal;
varying vec3 eyePos;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    eyePos = eye.xyz;
    shadowCoord = gl_TextureMatrix[1] * eye;
    normal = gl_NormalMatrix * gl_Normal;
    vec3 t = gl_NormalMatrix * Tangent.xyz;
    vec3 b = gl_NormalMatrix * -BiNormal.xyz;
    vec3 n = gl_NormalMatrix * Normal.xyz;
    viewInTangentSpace = vec3(dot(-eyePos, t), dot(-eyePos, b), dot(-eyePos, n));
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
