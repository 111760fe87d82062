#version 120
// Shadow-mapped scene with GL_LIGHT0 evaluated per vertex. The unit-1 texture matrix
// takes eye-space positions into the shadow map (s, t, depth from the light, q).
varying vec4 shadowCoord;
varying vec3 ambientLight;
varying vec3 directLight;

void main() {
    vec4 eye = gl_ModelViewMatrix * gl_Vertex;
    shadowCoord = gl_TextureMatrix[1] * eye;
    gl_TexCoord[0] = gl_MultiTexCoord0;

    vec3 n = normalize(gl_NormalMatrix * gl_Normal);
    // w = 0 makes the light directional, w = 1 positional.
    vec4 lightPos = gl_LightSource[0].position;
    vec3 toLight = lightPos.xyz - eye.xyz * lightPos.w;
    float dist = length(toLight);
    toLight /= dist;
    float attenuation = lightPos.w == 0.0
                            ? 1.0
                            : 1.0 / (gl_LightSource[0].constantAttenuation +
                                     dist * (gl_LightSource[0].linearAttenuation +
                                             dist * gl_LightSource[0].quadraticAttenuation));
    float nDotL = max(dot(n, toLight), 0.0);
    ambientLight = gl_FrontLightModelProduct.sceneColor.rgb +
                   gl_FrontLightProduct[0].ambient.rgb * attenuation;
    directLight = gl_FrontLightProduct[0].diffuse.rgb * (nDotL * attenuation);
    gl_Position = ftransform();
}
